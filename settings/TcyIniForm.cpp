#include "settings/TcyIniForm.h"

#include "common/AppError.h"
#include "settings/UserRegistry.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

constexpr Qt::WindowStates NotNormal = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
// How long a platform may take to frame a restored window once it is seen.
constexpr int FrameSettleMs = 2000;

QMargins frameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

} // namespace

TcyIniForm::TcyIniForm(QWidget *AOwner) : QObject(AOwner), m_owner(AOwner) {}

TcyIniForm::~TcyIniForm() = default;

void TcyIniForm::Loaded()
{
    if (!m_owner)
        return;
    m_owner->removeEventFilter(this);
    m_owner->installEventFilter(this);
    if (FAutoSave)
        m_notifyRequested = true;
    if (!FAutoLoad)
        return;
    if (FAttributes.contains(atPosition) && m_owner->isWindow()) {
        switch (ownerPosition(m_owner)) {
        case poScreenCenter:
        case poDesktopCenter:
        case poMainFormCenter:
        case poOwnerFormCenter:
            setOwnerPosition(m_owner, poDesigned);
            // Pins the designed left and top: otherwise the platform would choose.
            m_owner->move(m_owner->pos());
            break;
        default: break;
        }
    }
    LoadDefinitions();
}

void TcyIniForm::Notification(QObject *AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent && AComponent == m_owner && m_notifyRequested && FAutoSave) {
        FAutoSave = false; // once
        SaveDefinitions();
    }
}

bool TcyIniForm::LoadDefinitions()
{
    if (!m_owner)
        return false;
    bool applied = false;
    if (FMode != mRegistry)
        applied = LoadAttributesFromFile(m_owner);
    if (!applied && FMode != mFile)
        applied = LoadAttributesFromRegistry(m_owner);
    return applied;
}

bool TcyIniForm::SaveDefinitions()
{
    if (!m_owner)
        return false;
    const WindowPlacement::Record record = m_owner->isVisible() || !m_lastShown ? liveRecord(m_owner->isVisible())
                                                                                : *m_lastShown;
    bool saved = false;
    if (FMode != mRegistry)
        saved = SaveAttributesToFile(m_owner, record);
    if (!saved && FMode != mFile)
        saved = SaveAttributesToRegistry(m_owner, record);
    return saved;
}

bool TcyIniForm::LoadAttributesFromRegistry(QWidget *owner)
{
    std::optional<WindowPlacement::Stored> stored;
    try {
        const std::unique_ptr<RegistryStore> store = UserRegistry::open();
        stored = WindowPlacement::readRegistry(
            *store, GetRootKey(FRegRoot),
            WindowPlacement::registryKeyPath(FRegCustomKey, QCoreApplication::applicationFilePath(), owner->objectName()),
            options(owner));
    } catch (const AppError &) {
        // A value of another type than the store writes: as if nothing were stored.
        // The window is being created and must come up.
        return false;
    }
    if (!stored)
        return false;
    apply(owner, *stored);
    return true;
}

bool TcyIniForm::LoadAttributesFromFile(QWidget *owner)
{
    const std::optional<WindowPlacement::Stored> stored = WindowPlacement::readIniFile(GetFile(owner), section(owner),
                                                                                       options(owner));
    if (!stored)
        return false;
    apply(owner, *stored);
    return true;
}

bool TcyIniForm::SaveAttributesToRegistry(QWidget *owner, const WindowPlacement::Record &record)
{
    const std::unique_ptr<RegistryStore> store = UserRegistry::open();
    return WindowPlacement::writeRegistry(
        *store, GetRootKey(FRegRoot),
        WindowPlacement::registryKeyPath(FRegCustomKey, QCoreApplication::applicationFilePath(), owner->objectName()),
        options(owner), record);
}

bool TcyIniForm::SaveAttributesToFile(QWidget *owner, const WindowPlacement::Record &record)
{
    return WindowPlacement::writeIniFile(GetFile(owner), section(owner), options(owner), record);
}

RegistryStore::Root TcyIniForm::GetRootKey(TRegRoot root)
{
    switch (root) {
    case rrKEY_CLASSES_ROOT: return RegistryStore::Root::ClassesRoot;
    case rrKEY_CURRENT_USER: return RegistryStore::Root::CurrentUser;
    case rrKEY_LOCAL_MACHINE: return RegistryStore::Root::LocalMachine;
    case rrKEY_USERS: return RegistryStore::Root::Users;
    case rrKEY_CURRENT_CONFIG: return RegistryStore::Root::CurrentConfig;
    }
    return RegistryStore::Root::CurrentUser;
}

QString TcyIniForm::GetFile(QWidget *) const
{
    return WindowPlacement::iniFile(FIniCustomfile, GetIniDirectory(), FIniSubDirs,
                                    QCoreApplication::applicationFilePath());
}

QString TcyIniForm::GetIniDirectory() const
{
    switch (FIniDirectory) {
    case idProgramLocation: return QCoreApplication::applicationDirPath();
    case idCommonAppData: return GetSpecialFolderPath(0x23);
    case idLocalAppData: return GetSpecialFolderPath(0x1C);
    }
    return {};
}

QString TcyIniForm::GetSpecialFolderPath(int csidl)
{
    return WindowPlacement::specialFolder(csidl);
}

QString TcyIniForm::CheckPathDelimiters(const QString &path)
{
    return WindowPlacement::checkPathDelimiters(path);
}

TcyIniForm::TPosition TcyIniForm::ownerPosition(const QWidget *owner)
{
    const QVariant value = owner->property("Position");
    return value.isValid() ? TPosition(value.toInt()) : poDefaultPosOnly;
}

void TcyIniForm::setOwnerPosition(QWidget *owner, TPosition position)
{
    owner->setProperty("Position", int(position));
}

WindowPlacement::Options TcyIniForm::options(const QWidget *owner) const
{
    return {FAttributes, FStoreVersion, owner->isWindow()};
}

QString TcyIniForm::section(const QWidget *owner) const
{
    return FIniCustomSection.isEmpty() ? owner->objectName() : FIniCustomSection;
}

void TcyIniForm::apply(QWidget *owner, const WindowPlacement::Stored &stored)
{
    const QScopedValueRollback applying(m_applying, true);
    const QMargins margins = frameMargins(owner);
    const bool framed = owner->isVisible() && !margins.isNull();

    // Size, then position, then visibility, then state.
    const QSize outer = owner->frameGeometry().size();
    const QSize wanted = WindowPlacement::restoredSize(outer, stored);
    if (wanted != outer || stored.width || stored.height) {
        owner->resize(wanted.shrunkBy(margins));
        if (owner->isWindow() && !framed) {
            // Only the restored dimensions: the others keep their designed client size.
            const QSize unset(-1, -1);
            m_pendingOuterSize = WindowPlacement::restoredSize(unset, stored);
            m_pendingUntil.reset();
            if (*m_pendingOuterSize == unset)
                m_pendingOuterSize.reset();
        }
    }

    const QScreen *primary = QGuiApplication::primaryScreen();
    const QSize screen = primary ? primary->geometry().size() : QSize();
    if (const auto position = WindowPlacement::restoredPosition(stored, screen, owner->frameGeometry().size())) {
        QRect frame(*position, owner->frameGeometry().size());
        if (owner->isWindow())
            frame = WindowPlacement::reachable(frame, screenAreas());
        owner->move(frame.topLeft());
    }

    if (stored.visible) {
        if (!*stored.visible)
            owner->hide();
        else if (!owner->isVisible())
            // Shown once its creation is complete, as a form with Visible set would be.
            QTimer::singleShot(0, owner, &QWidget::show);
    }

    if (owner->isWindow() && stored.state != WindowPlacement::State::Normal) {
        QSize size = owner->frameGeometry().size();
        if (m_pendingOuterSize && m_pendingOuterSize->width() > 0)
            size.setWidth(m_pendingOuterSize->width());
        if (m_pendingOuterSize && m_pendingOuterSize->height() > 0)
            size.setHeight(m_pendingOuterSize->height());
        const QRect normal(owner->pos(), size);
        if (stored.state == WindowPlacement::State::Maximized)
            owner->setWindowState((owner->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        else
            owner->setWindowState(owner->windowState() | Qt::WindowMinimized);
        m_restoredNormal = normal;
    }
}

WindowPlacement::Record TcyIniForm::liveRecord(bool visible) const
{
    std::optional<QRect> normal = m_restoredNormal;
    if (!normal) {
        const QRect client = m_owner->normalGeometry();
        if (client.isValid())
            normal = client.marginsAdded(frameMargins(m_owner));
    }
    return WindowPlacement::record(m_owner->frameGeometry(), normal, visible, m_owner->isMinimized(),
                                   m_owner->isMaximized(), FAttributes);
}

void TcyIniForm::settleFrame()
{
    if (!m_owner->isVisible() || (m_owner->windowState() & NotNormal))
        return;
    m_restoredNormal.reset();
    if (!m_pendingOuterSize)
        return;
    const QMargins margins = frameMargins(m_owner);
    if (margins.isNull()) {
        // Not framed yet, or a platform without frames: wait a little, not for ever.
        if (!m_pendingUntil)
            m_pendingUntil = QDeadlineTimer(FrameSettleMs);
        if (m_pendingUntil->hasExpired())
            m_pendingOuterSize.reset();
        return;
    }
    const QSize before = m_owner->size();
    const QSize client = pendingClientSize(margins);
    m_pendingOuterSize.reset(); // once: from here on the size is the user's
    if (client == before)
        return;
    // After the platform has finished its own move or state change, unless the
    // window was resized in the meantime.
    QTimer::singleShot(0, m_owner, [owner = m_owner, before, client] {
        if (owner && owner->size() == before && !(owner->windowState() & NotNormal))
            owner->resize(client);
    });
}

QSize TcyIniForm::pendingClientSize(const QMargins &margins) const
{
    QSize client = m_owner->size();
    if (m_pendingOuterSize->width() > 0)
        client.setWidth(m_pendingOuterSize->width() - margins.left() - margins.right());
    if (m_pendingOuterSize->height() > 0)
        client.setHeight(m_pendingOuterSize->height() - margins.top() - margins.bottom());
    return client;
}

void TcyIniForm::settleFrameBeforeShow()
{
    // The platform window has just been made and is not shown yet. Where it already
    // knows its frame (offscreen, Wayland), the restored outer size is taken now:
    // the window is laid out and rendered once, at its final size. Elsewhere the
    // frame comes with the show, and settleFrame takes it then. A window made by the
    // restore's own change of state keeps its pending size for its normal state.
    if (m_applying || !m_pendingOuterSize || !m_owner->isWindow() || m_owner->isVisible()
        || (m_owner->windowState() & NotNormal))
        return;
    const QWindow *handle = m_owner->windowHandle();
    const QMargins margins = handle ? handle->frameMargins() : QMargins();
    if (margins.isNull())
        return;
    const QSize client = pendingClientSize(margins);
    m_pendingOuterSize.reset(); // once: from here on the size is the user's
    if (client != m_owner->size())
        m_owner->resize(client);
}

bool TcyIniForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_owner)
        return false;
    switch (event->type()) {
    case QEvent::Close:
        // A close that is accepted hides the window right away.
        m_closing = true;
        QTimer::singleShot(0, this, [this] { m_closing = false; });
        break;
    case QEvent::Hide:
        if (m_owner->isWindow())
            m_lastShown = liveRecord(m_closing);
        break;
    case QEvent::WinIdChange: settleFrameBeforeShow(); break;
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange: settleFrame(); break;
    default: break;
    }
    return false;
}
