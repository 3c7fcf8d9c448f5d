/* A program of another maker: binds the host library by path and name, with
 * nothing but its C header, and checks fields, the record layout and a UDP
 * round trip on channel 10 (it sends to its own port).
 * Usage: outside_client <path of libHostCfg.so>; $DBKEEL_SYSDIR must name a
 * folder it may write HostCfg.ini into. */
#include "hostcfg/HostCfg.h"

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

typedef int (*GetHostCfgFn)(char *);
typedef int (*GetFieldFn)(const char *, char *, int);
typedef int (*GetField2Fn)(const char *, char *, int, char);
typedef int (*OpenNetFn)(int, int, int, int);
typedef int (*CloseNetFn)(int);
typedef int (*SendNetDataFn)(int, const char *, int, const char *, int);
typedef int (*ReadNetDataFn)(int, char *, int);

enum { PACKET_SIZE = 2072 };

static int failures;

static void check(int ok, const char *what)
{
    printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok)
        ++failures;
}

static void *bindExport(void *library, const char *name)
{
    void *entry = dlsym(library, name);
    if (!entry) {
        fprintf(stderr, "missing export %s\n", name);
        exit(2);
    }
    return entry;
}

static void checkFields(void *library)
{
    GetFieldFn getField = (GetFieldFn)bindExport(library, "GetField");
    GetField2Fn getField2 = (GetField2Fn)bindExport(library, "GetField2");
    char out[HOSTCFG_FIELD_SIZE];
    const char *entry = "DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1";

    check(getField(entry, out, 0) > 0 && strcmp(out, "DbkeelDemo") == 0, "GetField field 0 is the data-source name");
    check(getField(entry, out, 5) > 0 && strcmp(out, "sa") == 0, "GetField field 5 is the user");
    check(getField(entry, out, 1) > 0 && out[0] == '\0', "GetField empty field is present");
    check(getField(entry, out, 8) <= 0 && out[0] == '\0', "GetField beyond the end is empty and not present");
    check(getField2("a|b|c", out, 2, '|') > 0 && strcmp(out, "c") == 0, "GetField2 with '|'");
}

static int writeHostCfg(const char *dir)
{
    char path[4096];
    snprintf(path, sizeof path, "%s/HostCfg.ini", dir);
    FILE *file = fopen(path, "wb");
    if (!file)
        return 0;
    fputs("[HOSTCFG]\r\n0=DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1\r\n255=last entry\r\n", file);
    return fclose(file) == 0;
}

static void checkRecord(void *library)
{
    GetHostCfgFn getHostCfg = (GetHostCfgFn)bindExport(library, "GetHostCfg");
    const char *dir = getenv("DBKEEL_SYSDIR");
    if (!dir) {
        check(0, "DBKEEL_SYSDIR is set");
        return;
    }
    mkdir(dir, 0755);
    check(writeHostCfg(dir), "HostCfg.ini written");
    char *record = calloc(1, HOSTCFG_RECORD_SIZE);
    check(getHostCfg(record) == 2, "GetHostCfg reads two entries");
    check(strcmp(record + 5958, "DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1") == 0, "entry 0 at byte 5958");
    check(record[5958 + 616] == '\0', "entry 1 is empty");
    check(strcmp(record + 5958 + 616 * 255, "last entry") == 0, "entry 255 at byte 163038");
    free(record);
}

static int freeUdpPort(void)
{
    struct sockaddr_in address;
    socklen_t size = sizeof address;
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    bind(fd, (struct sockaddr *)&address, sizeof address);
    getsockname(fd, (struct sockaddr *)&address, &size);
    close(fd);
    return ntohs(address.sin_port);
}

static int readWithin(ReadNetDataFn readNetData, char *packet, int milliseconds)
{
    const struct timespec pause = {0, 2 * 1000 * 1000};
    for (int waited = 0; waited < milliseconds; waited += 2) {
        if (readNetData(10, packet, PACKET_SIZE) > 0)
            return 1;
        nanosleep(&pause, NULL);
    }
    return 0;
}

static void checkRoundTrip(void *library)
{
    OpenNetFn openNet = (OpenNetFn)bindExport(library, "OpenNet");
    CloseNetFn closeNet = (CloseNetFn)bindExport(library, "CloseNet");
    SendNetDataFn sendNetData = (SendNetDataFn)bindExport(library, "SendNetData");
    ReadNetDataFn readNetData = (ReadNetDataFn)bindExport(library, "ReadNetData");
    static char sent[PACKET_SIZE], received[PACKET_SIZE];
    const int port = freeUdpPort();
    for (int i = 0; i < PACKET_SIZE; ++i)
        sent[i] = (char)(i * 7);

    check(openNet(10, 0, port, 9898) > 0, "OpenNet channel 10");
    check(sendNetData(10, "127.0.0.1", port, sent, PACKET_SIZE) == PACKET_SIZE, "SendNetData sends one packet");
    check(readWithin(readNetData, received, 2000) && memcmp(sent, received, PACKET_SIZE) == 0,
          "ReadNetData reads the packet back whole");
    check(readNetData(10, received, PACKET_SIZE) == 0, "ReadNetData with nothing queued gives 0");
    check(closeNet(15) > 0, "CloseNet 15");
    check(sendNetData(10, "127.0.0.1", port, sent, PACKET_SIZE) <= 0, "no send after closing");
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <libHostCfg.so>\n", argv[0]);
        return 2;
    }
    void *library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    checkFields(library);
    checkRecord(library);
    checkRoundTrip(library);
    dlclose(library);
    printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
