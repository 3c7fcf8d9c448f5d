/* HostCfg — the installation's host library.
 *
 * Other programs load this library by path and bind these functions by name,
 * so every name, signature, buffer size and record layout below is an
 * interface. Every text crossing it is GBK and NUL-terminated.
 *
 * The system directory is $DBKEEL_SYSDIR, else $HOME/.local/share/dbkeel/system.
 */
#ifndef DBKEEL_HOSTCFG_H
#define DBKEEL_HOSTCFG_H

#if defined(_WIN32) && defined(HOSTCFG_BUILD)
#define HOSTCFG_API __declspec(dllexport)
#elif defined(_WIN32)
#define HOSTCFG_API __declspec(dllimport)
#else
#define HOSTCFG_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Host configuration record ------------------------------------------
 * bytes 0 .. 5957      reserved, always zero
 * bytes 5958 + 616*k   entry k (k = 0 .. 255): NUL-terminated GBK text of at
 *                      most 615 bytes, all zero when the entry is not set
 * Total 163654 bytes.  Source: key "k" of section [HOSTCFG] in
 * <system directory>/HostCfg.ini. */
enum {
    HOSTCFG_ENTRY_BASE = 5958,
    HOSTCFG_ENTRY_SIZE = 616,
    HOSTCFG_ENTRY_COUNT = 256,
    HOSTCFG_RECORD_SIZE = HOSTCFG_ENTRY_BASE + HOSTCFG_ENTRY_SIZE * HOSTCFG_ENTRY_COUNT
};

/* Fills the whole record (HOSTCFG_RECORD_SIZE bytes).
 * > 0  number of entries set in the file
 *   0  the file holds no entry
 *  -1  the file is missing or unreadable (record all zero)
 *  -2  record is null */
HOSTCFG_API int GetHostCfg(char *record);

/* ---- Fields of a separated text ------------------------------------------
 * Field `index` (counted from 0) of `text`, split at ',' (GetField) or at
 * `separator` (GetField2). A separator byte that is the second byte of a GBK
 * character does not split. `out` holds HOSTCFG_FIELD_SIZE bytes: the field,
 * cut at a character boundary to at most 615 bytes, and a NUL.
 * > 0  the field is present: its length in bytes + 1 (so an empty field is 1)
 *   0  index is beyond the last field (or negative); out is ""
 *  -1  text or out is null (out, when given, is "") */
enum { HOSTCFG_FIELD_SIZE = 616 };
HOSTCFG_API int GetField(const char *text, char *out, int index);
HOSTCFG_API int GetField2(const char *text, char *out, int index, char separator);

/* ---- Version texts ----------------------------------------------------------
 * Fills HOSTCFG_VERSION_SIZE bytes of `out` (zeroed first) from the version
 * stamp that the build embeds in every binary:
 *   offset   0  version text      (at most 255 bytes + NUL)
 *   offset 256  program name      (at most 511 bytes + NUL)
 *   offset 768  description       (at most 255 bytes + NUL)
 * `file` null or "" asks for this library's own texts.
 *   1  found
 *   0  the file has no version stamp
 *  -1  the file is missing or unreadable
 *  -2  out is null */
enum {
    HOSTCFG_VERSION_SIZE = 1024,
    HOSTCFG_VERSION_TEXT = 0,
    HOSTCFG_VERSION_NAME = 256,
    HOSTCFG_VERSION_DESCRIPTION = 768
};
HOSTCFG_API int GetVers(const char *file, char *out);

/* ---- Log ---------------------------------------------------------------------
 * Appends "YYYY-MM-DD HH:MM:SS text" CRLF (local time) to
 * <system directory>/log/HostCfg.log, creating the folder. CR and LF inside
 * the text become blanks, so one call is one line. Safe from any thread.
 *   1  written;  0  the log cannot be written;  -1  text is null */
HOSTCFG_API int PostLog(const char *text);

/* ---- Local addresses ---------------------------------------------------------
 * bytes    0        int32 count (0 .. 100)
 * bytes    4 + 50*i address i, dotted IPv4 text, NUL-terminated
 * bytes 5004        computer name, NUL-terminated, at most 255 bytes
 * Total 5260 bytes. Every IPv4 address of the computer: those of the network
 * interfaces first, in interface order, then 127.0.0.1 (always present).
 *  > 0  count;  -1  record is null */
enum {
    HOSTCFG_IP_MAX = 100,
    HOSTCFG_IP_SIZE = 50,
    HOSTCFG_IP_NAME_OFFSET = 4 + HOSTCFG_IP_MAX * HOSTCFG_IP_SIZE,
    HOSTCFG_IP_NAME_SIZE = 256,
    HOSTCFG_IP_RECORD_SIZE = HOSTCFG_IP_NAME_OFFSET + HOSTCFG_IP_NAME_SIZE
};
HOSTCFG_API int GetHostIP(char *record);

/* ---- Network channels ----------------------------------------------------------
 * Channels 0 .. 14 (the program uses 10); each is one UDP socket, one
 * datagram per packet.
 *
 * OpenNet(channel, mode, localPort, remotePort): mode 0 (UDP) is the only
 *   mode; binds 0.0.0.0:localPort. remotePort is the installation's peer port
 *   (9898) and is not used: every send names its port. An open channel is
 *   closed and opened again.  1 opened;  0 failure (port in use, bad channel,
 *   mode or port).
 * CloseNet(channel): closes it; 15 closes every channel.  1 closed;
 *   0 was not open;  -1 bad channel.
 * SendNetData(channel, ip, port, data, length): sends one datagram of
 *   `length` bytes (1 .. 65507) to the dotted IPv4 `ip`.  > 0 bytes sent;
 *   0 refused by the system;  -1 bad argument or channel not open.
 * ReadNetData(channel, data, length): takes the next queued datagram; one of
 *   exactly `length` bytes is copied whole, any other size is dropped and the
 *   next one taken. With nothing queued it waits at most 50 ms for a datagram
 *   (less while another thread opens or closes a channel).  length copied;
 *   0 nothing (left) queued;  -1 bad argument or channel not open.
 * WaitNetData(channel, timeoutMs): waits until a datagram is queued, WakeNet
 *   is called for the channel, or timeoutMs passed (a negative timeout: no
 *   limit). A WakeNet made while nobody waits ends the next wait at once.
 *   1 a datagram is queued;  0 woken, or the time passed;  -1 bad argument
 *   or channel not open.
 * WakeNet(channel): ends the channel's WaitNetData at once.  1;  -1 bad
 *   channel.
 * Sending and reading may run on different threads at the same time. */
enum { HOSTCFG_CHANNEL_COUNT = 15, HOSTCFG_CHANNEL_ALL = 15 };
HOSTCFG_API int OpenNet(int channel, int mode, int localPort, int remotePort);
HOSTCFG_API int CloseNet(int channel);
HOSTCFG_API int SendNetData(int channel, const char *ip, int port, const char *data, int length);
HOSTCFG_API int ReadNetData(int channel, char *data, int length);
HOSTCFG_API int WaitNetData(int channel, int timeoutMs);
HOSTCFG_API int WakeNet(int channel);

/* TCP connect to host (dotted address or name) and port, waiting at most 1 s.
 *   1 it answers;  0 refused or no answer;  -1 bad argument or unknown host */
HOSTCFG_API int ScanPort(const char *host, int port);

/* Strip the character c in place from the start (TrimLeft) or end (TrimRight)
 * of text; the second byte of a GBK character is never taken for c.
 *  >= 0 the remaining length;  -1 text is null */
HOSTCFG_API int TrimLeft(char *text, char c);
HOSTCFG_API int TrimRight(char *text, char c);

#ifdef __cplusplus
}
#endif

#endif
