#include "common/MappedFile.h"

#include <array>
#include <atomic>
#include <mutex>

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The mappings the SIGBUS guard knows, in a fixed table that the signal handler can
// read without a lock: a slot is taken by setting its start, and given back by
// clearing it.
struct Slot {
    std::atomic<const char *> begin{nullptr};
    std::atomic<const char *> end{nullptr};
    std::atomic<bool> changed{false};
};
constexpr int SlotCount = 256;
std::array<Slot, SlotCount> slots;

struct sigaction previousAction;
uintptr_t pageSize = 4096;

void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto *address = static_cast<const char *>(info->si_addr);
    for (Slot &slot : slots) {
        const char *begin = slot.begin.load(std::memory_order_acquire);
        if (!begin || address < begin || address >= slot.end.load(std::memory_order_acquire))
            continue;
        // The page is past the file's end now: a page of zeros takes its place, and
        // the read that faulted runs again on it.
        void *page = reinterpret_cast<void *>(reinterpret_cast<uintptr_t>(address) & ~(pageSize - 1));
        if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED)
            break;
        slot.changed.store(true, std::memory_order_release);
        return;
    }
    // Not one of ours: whoever handled the signal before handles it, or it ends the
    // program as it would have without this guard.
    if ((previousAction.sa_flags & SA_SIGINFO) && previousAction.sa_sigaction) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN
        && previousAction.sa_handler != nullptr) {
        previousAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL); // the fault comes again at once, and is not caught then
}

void installGuard()
{
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action {
        };
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousAction);
    });
}

int takeSlot(const char *begin, const char *end)
{
    for (int i = 0; i < SlotCount; ++i) {
        const char *free = nullptr;
        if (slots[size_t(i)].begin.compare_exchange_strong(free, begin, std::memory_order_acq_rel)) {
            slots[size_t(i)].changed.store(false, std::memory_order_relaxed);
            slots[size_t(i)].end.store(end, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

} // namespace

MappedFile::MappedFile(QFile &file)
{
    const qint64 size = file.size();
    if (size > 0 && qint64(size_t(size)) == size) {
        installGuard();
        void *map = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, file.handle(), 0);
        if (map != MAP_FAILED) {
            const char *begin = static_cast<const char *>(map);
            m_slot = takeSlot(begin, begin + size);
            if (m_slot >= 0) {
                m_map = map;
                m_mapSize = size_t(size);
                m_bytes = QByteArrayView(begin, size);
                return;
            }
            ::munmap(map, size_t(size)); // unguarded, it would not be safe: read instead
        }
    }
    // Not mapped (an empty file, a file system without mappings, the guard's table
    // full): as much as the file holds now.
    m_copy = file.read(size);
    m_valid = file.error() == QFileDevice::NoError;
    m_bytes = m_copy;
}

MappedFile::~MappedFile()
{
    if (m_slot < 0)
        return;
    Slot &slot = slots[size_t(m_slot)];
    slot.end.store(nullptr, std::memory_order_release);
    ::munmap(m_map, m_mapSize);
    slot.begin.store(nullptr, std::memory_order_release);
}

bool MappedFile::changed() const
{
    return m_slot >= 0 && slots[size_t(m_slot)].changed.load(std::memory_order_acquire);
}
