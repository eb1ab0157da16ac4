#pragma once

#include "settings/RegistryStore.h"
#include "settings/WindowPlacement.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <optional>

// Keeps its owner window's placement between runs: restores it when the owner has
// been built (Loaded) and saves it when the owner is destroyed. The store is a
// registry key or a section of an INI file.
//
// The owner's start position mode is its dynamic property "Position" (a TPosition).
// An owner calls Notification(owner, opRemove) from its destructor: that is the
// moment the placement is saved.
class TcyIniForm : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool AutoLoad READ AutoLoad WRITE setAutoLoad)
    Q_PROPERTY(bool AutoSave READ AutoSave WRITE setAutoSave)
    Q_PROPERTY(QString IniCustomfile READ IniCustomfile WRITE setIniCustomfile)
    Q_PROPERTY(QString IniCustomSection READ IniCustomSection WRITE setIniCustomSection)
    Q_PROPERTY(TIniDirectory IniDirectory READ IniDirectory WRITE setIniDirectory)
    Q_PROPERTY(QString IniSubDirs READ IniSubDirs WRITE setIniSubDirs)
    Q_PROPERTY(TMode Mode READ Mode WRITE setMode)
    Q_PROPERTY(TRegRoot RegRoot READ RegRoot WRITE setRegRoot)
    Q_PROPERTY(QString RegCustomKey READ RegCustomKey WRITE setRegCustomKey)
    Q_PROPERTY(QString StoreVersion READ StoreVersion WRITE setStoreVersion)

public:
    using TAttribute = WindowPlacement::Attribute;
    using TAttributes = WindowPlacement::Attributes;
    static constexpr TAttribute atPosition = WindowPlacement::atPosition;
    static constexpr TAttribute atSize = WindowPlacement::atSize;
    static constexpr TAttribute atVisible = WindowPlacement::atVisible;
    static constexpr TAttribute atMinimized = WindowPlacement::atMinimized;
    static constexpr TAttribute atMaximized = WindowPlacement::atMaximized;

    enum TMode { mFile, mRegistry, mBoth };
    Q_ENUM(TMode)
    enum TIniDirectory { idProgramLocation, idCommonAppData, idLocalAppData };
    Q_ENUM(TIniDirectory)
    enum TRegRoot { rrKEY_CLASSES_ROOT, rrKEY_CURRENT_USER, rrKEY_LOCAL_MACHINE, rrKEY_USERS, rrKEY_CURRENT_CONFIG };
    Q_ENUM(TRegRoot)
    // The owner's start position modes.
    enum TPosition {
        poDesigned,
        poDefault,
        poDefaultPosOnly,
        poDefaultSizeOnly,
        poScreenCenter,
        poDesktopCenter,
        poMainFormCenter,
        poOwnerFormCenter
    };
    Q_ENUM(TPosition)
    enum TOperation { opInsert, opRemove };

    explicit TcyIniForm(QWidget *AOwner);
    ~TcyIniForm() override;

    // Once the owner's controls are built.
    void Loaded();
    void Notification(QObject *AComponent, TOperation Operation);

    bool LoadDefinitions();
    bool SaveDefinitions();
    bool LoadAttributesFromRegistry(QWidget *owner);
    bool LoadAttributesFromFile(QWidget *owner);
    bool SaveAttributesToRegistry(QWidget *owner, const WindowPlacement::Record &record);
    bool SaveAttributesToFile(QWidget *owner, const WindowPlacement::Record &record);

    static RegistryStore::Root GetRootKey(TRegRoot root);
    QString GetFile(QWidget *owner) const;
    QString GetIniDirectory() const;
    static QString GetSpecialFolderPath(int csidl);
    static QString CheckPathDelimiters(const QString &path);

    // The owner's "Position"; poDefaultPosOnly when it carries none (the platform places it).
    static TPosition ownerPosition(const QWidget *owner);
    static void setOwnerPosition(QWidget *owner, TPosition position);

    TAttributes Attributes() const { return FAttributes; }
    void setAttributes(TAttributes value) { FAttributes = value; }
    bool AutoLoad() const { return FAutoLoad; }
    void setAutoLoad(bool value) { FAutoLoad = value; }
    bool AutoSave() const { return FAutoSave; }
    void setAutoSave(bool value) { FAutoSave = value; }
    QString IniCustomfile() const { return FIniCustomfile; }
    void setIniCustomfile(const QString &value) { FIniCustomfile = value; }
    QString IniCustomSection() const { return FIniCustomSection; }
    void setIniCustomSection(const QString &value) { FIniCustomSection = value; }
    TIniDirectory IniDirectory() const { return FIniDirectory; }
    void setIniDirectory(TIniDirectory value) { FIniDirectory = value; }
    QString IniSubDirs() const { return FIniSubDirs; }
    void setIniSubDirs(const QString &value) { FIniSubDirs = value; }
    TMode Mode() const { return FMode; }
    void setMode(TMode value) { FMode = value; }
    TRegRoot RegRoot() const { return FRegRoot; }
    void setRegRoot(TRegRoot value) { FRegRoot = value; }
    QString RegCustomKey() const { return FRegCustomKey; }
    void setRegCustomKey(const QString &value) { FRegCustomKey = value; }
    QString StoreVersion() const { return FStoreVersion; }
    void setStoreVersion(const QString &value) { FStoreVersion = value; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WindowPlacement::Options options(const QWidget *owner) const;
    QString section(const QWidget *owner) const;
    void apply(QWidget *owner, const WindowPlacement::Stored &stored);
    WindowPlacement::Record liveRecord(bool visible) const;
    void settleFrame();
    void settleFrameBeforeShow();
    QSize pendingClientSize(const QMargins &margins) const;

    TAttributes FAttributes{atPosition, atSize, atMaximized};
    bool FAutoLoad = true;
    bool FAutoSave = true;
    QString FIniCustomfile;
    QString FIniCustomSection;
    TIniDirectory FIniDirectory = idProgramLocation;
    QString FIniSubDirs;
    TMode FMode = mFile;
    TRegRoot FRegRoot = rrKEY_CURRENT_USER;
    QString FRegCustomKey;
    QString FStoreVersion;

    QPointer<QWidget> m_owner;
    bool m_notifyRequested = false;
    // Before the platform has framed the window its outer size is not known: the
    // restored one is kept until the frame is there to be taken off (-1: not restored).
    std::optional<QSize> m_pendingOuterSize;
    std::optional<QDeadlineTimer> m_pendingUntil;
    // The outer rectangle a restored maximized or minimized window returns to, until
    // it has been in the normal state once.
    std::optional<QRect> m_restoredNormal;
    // Taken when the window is hidden, while its frame is still known; a closed
    // window counts as visible, as it was when the program ended.
    std::optional<WindowPlacement::Record> m_lastShown;
    bool m_closing = false;
    bool m_applying = false;
};
