#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>

// A file's bytes as one view, mapped into memory where the system allows and read
// whole where it does not. Pages are read as they are touched, so what stays
// resident is what was read.
//
// A mapped file that is cut short while mapped would raise SIGBUS at the next read
// of a page past its new end. Such a page is replaced by one of zeros instead, and
// changed() tells the reader, which reports the file as changed rather than trust
// what it read. The guard covers reads made through bytes() on any thread.
class MappedFile
{
public:
    // The file must be open for reading; it may be closed afterwards.
    explicit MappedFile(QFile &file);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    QByteArrayView bytes() const { return m_bytes; }
    // Whether a read met a page that the file no longer holds.
    bool changed() const;
    // False when the file could be neither mapped nor read; the file's error says why.
    bool isValid() const { return m_valid; }

private:
    QByteArrayView m_bytes;
    QByteArray m_copy; // the bytes, when the file is not mapped
    void *m_map = nullptr;
    size_t m_mapSize = 0;
    int m_slot = -1; // the guard's record of the mapping
    bool m_valid = true;
};
