// verbarium-first-lookup: the first lookup of a fresh process, timed inside it from
// before the files are opened to after the entry is read, for our reader or for
// MyThes (its constructor plus one Lookup). Prints the microseconds.
//   verbarium-first-lookup ours|mythes IDX DAT WORD

#include "common/AppError.h"
#include "thesaurus/MythesFile.h"

#include <QString>
#include <QStringEncoder>

#include <chrono>
#include <cstdio> // mythes.hxx uses FILE without including it
#include <cstring>
#include <mythes.hxx>

int main(int argc, char *argv[])
{
    if (argc != 5 || (std::strcmp(argv[1], "ours") != 0 && std::strcmp(argv[1], "mythes") != 0)) {
        std::fprintf(stderr, "usage: %s ours|mythes IDX DAT WORD\n", argv[0]);
        return 2;
    }
    const QString word = QString::fromUtf8(argv[4]);
    const auto start = std::chrono::steady_clock::now();
    int meanings = 0;
    if (std::strcmp(argv[1], "ours") == 0) {
        try {
            MythesFile file(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
            meanings = int(file.lookup(word).meanings.size());
        } catch (const AppError &error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 3;
        }
    } else {
        MyThes thes(argv[2], argv[3]);
        // The key in the data's encoding, as a caller of the library must give it.
        QStringEncoder encoder(MythesFile::codecName(thes.get_th_encoding()).constData());
        const QByteArray key = encoder.isValid() ? QByteArray(encoder.encode(word)) : word.toUtf8();
        mentry *entries = nullptr;
        meanings = thes.Lookup(key.constData(), int(key.size()), &entries);
        if (meanings > 0 && entries)
            thes.CleanUpAfterLookup(&entries, meanings);
    }
    const auto elapsed = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    if (meanings <= 0) {
        std::fprintf(stderr, "\"%s\" has no entry\n", argv[4]);
        return 1;
    }
    std::printf("%.1f\n", elapsed);
    return 0;
}
