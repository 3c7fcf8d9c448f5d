#pragma once
// The binder of one extension component: loaded once by path, each export bound by name, every call
// guarded (a missing export answers 0 without a call; an exception inside the component answers 0).

#include "extensions/ComponentAbi.h"

#include <QByteArray>
#include <QLibrary>
#include <QRect>
#include <QString>

namespace dbkeel {

class ExtensionComponent {
public:
    ExtensionComponent() = default;
    ~ExtensionComponent();
    ExtensionComponent(const ExtensionComponent &) = delete;
    ExtensionComponent &operator=(const ExtensionComponent &) = delete;

    // Loads the library and binds its exports; a loaded binder ignores further loads (true).
    bool load(const QString &path);
    bool isLoaded() const { return m_library.isLoaded(); }
    // Calls ExtStop and ExtRelease first when the component was initialised and not released.
    void unload();
    QString errorString() const { return m_error; }
    QString path() const { return m_library.fileName(); }

    int init(void *first, void *second = nullptr, int third = 0);
    int show(int mode, int left = 0, int top = 0, int right = 0, int bottom = 0);
    int doModal(UserRecord *user);
    int stop();
    int release();
    unsigned char *devData();  // null when missing or failed

private:
    QLibrary m_library;
    QString m_error;
    DbkeelExtInit m_init = nullptr;
    DbkeelExtShow m_show = nullptr;
    DbkeelExtDoModal m_doModal = nullptr;
    DbkeelExtStop m_stop = nullptr;
    DbkeelExtRelease m_release = nullptr;
    DbkeelGetDevData m_devData = nullptr;
    bool m_started = false;  // initialised and not yet released
};

// The initialisation block of ExtInit (DBKEEL_INIT_SIZE bytes): the owner's rectangle and pointer,
// the mode (2 configuration manager, 0 vehicle types), the owner flag (1, 0 from the vehicle-type
// screen) and the connection token; texts empty, the three flags 1.
QByteArray initRecord(const QRect &ownerRect, void *owner, qint16 mode, qint16 ownerFlag, qint32 connection = 0);

}  // namespace dbkeel
