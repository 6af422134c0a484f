/* The fifteen exports of the measurement library vitalink ("vitalink.dll" on
 * Windows, libvitalink.so natively), declared once for the library and for
 * every caller that binds them by name.
 *
 * Every export uses the standard Windows calling convention (on 32-bit x86 the
 * callee removes its arguments; on x86_64 there is only the one convention)
 * and takes and returns plain values: nothing is allocated across the
 * boundary and nothing needs freeing. Plain C, no system header, so that the
 * program proper can include it. */
#ifndef VITALINK_VITALINK_H
#define VITALINK_VITALINK_H

#include <stdint.h>

#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#define VITALINK_CALL __stdcall
#else
#define VITALINK_CALL
#endif

#if defined(VITALINK_BUILDING) && !defined(_WIN32)
/* The shared object is built with hidden visibility; only these are seen. */
#define VITALINK_API __attribute__((visibility("default")))
#else
/* On Windows the module-definition file names the exports, undecorated. */
#define VITALINK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results of the four resource exports when their source cannot be opened.
 * They lie outside 0..100, so no caller can take them for a percentage, and
 * GetVitalink stores nothing when it returns one of them. */
enum {
    /* The module that counts the resources cannot be loaded: the caller
     * reports "Can't load USER.EXE!". */
    VITALINK_SOURCE_NOT_LOADED = -1,
    /* The module loads but lacks the counting procedure: the caller reports
     * "Can't get address of GetFreeSystemResources!". */
    VITALINK_SOURCE_NO_PROCEDURE = -2
};

/* Free system resources, GDI and USER resources in percent (0..100), stored in
 * that order through the three pointers; the result is the USER percentage
 * again. System resources are the smaller of the other two. */
VITALINK_API int16_t VITALINK_CALL GetVitalink(int16_t* system, int16_t* gdi, int16_t* user);
VITALINK_API int16_t VITALINK_CALL GetSysRes(void);
VITALINK_API int16_t VITALINK_CALL GetGdiRes(void);
VITALINK_API int16_t VITALINK_CALL GetUserRes(void);

/* Processor load of all processors in percent (0..100). GetCpuStart switches
 * the statistic on: its first call takes the first sample, so the first
 * GetCpuUsage reports the load since the system started; each later
 * GetCpuUsage reports the load since the previous reading. A reading that
 * follows the previous one too closely to be measured repeats its figure. */
VITALINK_API void VITALINK_CALL GetCpuStart(void);
VITALINK_API int16_t VITALINK_CALL GetCpuUsage(void);

/* Drive numbers: 0 = the current drive, 1 = A:, 2 = B:, 3 = C:, ...; only the
 * low byte is used. Bytes as a floating-point number, -1 when the drive cannot
 * be queried. DiskFreeEx counts what is available to the caller. */
VITALINK_API double VITALINK_CALL DiskSizeEx(int32_t drive);
VITALINK_API double VITALINK_CALL DiskFreeEx(int32_t drive);

/* The percentage of memory that is free (100 minus the memory load). */
VITALINK_API int16_t VITALINK_CALL MemoryLoad(void);
/* Byte counts, whole. A caller that takes the result as a 16-bit value reads
 * its low 16 bits from the same register as before. */
VITALINK_API uint64_t VITALINK_CALL TotalPhys(void);
VITALINK_API uint64_t VITALINK_CALL AvailPhys(void);
VITALINK_API uint64_t VITALINK_CALL TotalPageFile(void);
VITALINK_API uint64_t VITALINK_CALL AvailPageFile(void);
VITALINK_API uint64_t VITALINK_CALL TotalVirtual(void);
VITALINK_API uint64_t VITALINK_CALL AvailVirtual(void);

typedef int16_t(VITALINK_CALL* GetVitalinkProc)(int16_t*, int16_t*, int16_t*);
typedef int16_t(VITALINK_CALL* PercentProc)(void);
typedef void(VITALINK_CALL* GetCpuStartProc)(void);
typedef double(VITALINK_CALL* DiskProc)(int32_t);
typedef uint64_t(VITALINK_CALL* ByteCountProc)(void);

#ifdef __cplusplus
}
#endif

#endif /* VITALINK_VITALINK_H */
