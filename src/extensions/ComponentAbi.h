#pragma once
/* The records and entry points shared by the program and its extension components (docs/components.md).
   Plain C layout: a component may be built by anyone, in any language that can export C functions. */

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#define DBKEEL_COMPONENT_EXPORT __declspec(dllexport)
#else
#define DBKEEL_COMPONENT_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The logged-in user, filled by the login component's ExtDoModal. Texts are GBK, NUL-terminated. */
typedef struct DbkeelUserRecord {
    char userId[50];       /* the user identifier (tb_user.UserName) */
    char secondText[50];   /* free for the component (ours: tb_user.UserWrokID) */
    char displayText[50];  /* the text shown in the window title (ours: tb_user.TrueName) */
    int32_t level;         /* power level; -1 until a login filled it */
    char furtherText[256]; /* free for the component (ours: the login time "yyyy-MM-dd hh:mm:ss") */
} DbkeelUserRecord;

/* The initialisation block given to ExtInit of the configuration manager and the vehicle-type library:
   a byte record, little-endian, with fields at these offsets. */
enum {
    DBKEEL_INIT_TEXT0 = 0, /* three texts of 64 bytes, empty */
    DBKEEL_INIT_TEXT1 = 64,
    DBKEEL_INIT_TEXT2 = 128,
    DBKEEL_INIT_RECT = 1152,       /* owner window rectangle: left, top, right, bottom (int32 each) */
    DBKEEL_INIT_CONNECTION = 1168, /* int32 database connection token, 0 for none */
    DBKEEL_INIT_MODE = 1172,       /* int16: 2 configuration manager, 0 vehicle types */
    DBKEEL_INIT_FLAG1 = 1174,      /* three int32, each 1 */
    DBKEEL_INIT_FLAG2 = 1178,
    DBKEEL_INIT_FLAG3 = 1182,
    DBKEEL_INIT_TEXT3 = 1186,      /* text of 32 bytes, empty */
    DBKEEL_INIT_OWNER_FLAG = 1218, /* int16: 1 (0 from the vehicle-type screen) */
    DBKEEL_INIT_OWNER = 1220,      /* owner window (a QWidget pointer), pointer-sized */
    DBKEEL_INIT_SIZE = 1220 + 8
};

/* The backup manager's hand-shake with the program: before a restore it asks the program to close its
   shared connection, after the restore (successful or not) to open it again. Each returns 1 on success.
   Given as the second argument of the backup manager's ExtInit; null when the program holds no
   connection (the component then restores straight away). */
typedef struct DbkeelConnectionControl {
    void *context;
    int (*closeConnection)(void *context);
    int (*reopenConnection)(void *context);
} DbkeelConnectionControl;

/* The exports, bound by name. Every one is optional; the program treats a missing one as answering 0.
   ExtInit: configuration manager and vehicle-type library (init block, 0, 0); backup manager
            (owner window, DbkeelConnectionControl * or null, 0).
   ExtShow: mode 1 with the owner's rectangle (configuration manager, vehicle types); mode 5 (backup).
   ExtDoModal: the login box, with a DbkeelUserRecord; nonzero when a user logged in.
   ExtStop, ExtRelease: end the component's work; free what ExtInit made.
   GetDevData: the vehicle-type library's status record (byte 39: 1 shown, 2 done). */
typedef int (*DbkeelExtInit)(void *first, void *second, int third);
typedef int (*DbkeelExtShow)(int mode, int left, int top, int right, int bottom);
typedef int (*DbkeelExtDoModal)(DbkeelUserRecord *user);
typedef int (*DbkeelExtStop)(void);
typedef int (*DbkeelExtRelease)(void);
typedef unsigned char *(*DbkeelGetDevData)(void);

/* The statistics library (DayTally), bound by the statistics table screen.
   ExtInit: the screen's status line, 0, 0, 0, and the text "ZETRA". The status line is a QObject with an
            invokable setText(QString) (a QLabel is one); the library calls it queued, from any thread.
   ExtGetStatTabStatus: bound, never called by the program; ours answers 1 while a build runs.
   ExtInitStatTab: builds the statistics rows into tb_stat_all; returns when done (called on a worker).
   ExtRelease: frees what ExtInit made. */
typedef int (*DbkeelStatExtInit)(void *statusLine, int, int, int, const char *text);
typedef int (*DbkeelExtGetStatTabStatus)(void);
typedef int (*DbkeelExtInitStatTab)(void);

#ifdef __cplusplus
}
static_assert(offsetof(DbkeelUserRecord, level) == 152 && sizeof(DbkeelUserRecord) == 412);
namespace dbkeel {
using UserRecord = DbkeelUserRecord;
}
#endif
