/* Linked into the shipped programs only (see the top CMakeLists.txt).
 *
 * The shipped programs take their C runtime from crtdll.dll, which every
 * Windows 95 and NT installation has, instead of msvcrt.dll, which
 * Windows 95 retail lacks. The static C++ library was built for msvcrt.dll
 * and its std::random_device object refers to three names that crtdll.dll
 * does not have: the POSIX names close and read (msvcrt's import library
 * maps them to _close and _read), and rand_s. That object comes in only
 * because the copy-on-write string instantiation names it; the programs
 * never construct a random_device, and the linker drops its code. The
 * references must still resolve, so they end here, in functions that fail
 * the way the runtime reports a bad descriptor or a missing source.
 */
#include <errno.h>

int close(int fd) {
    (void)fd;
    errno = EBADF;
    return -1;
}

int read(int fd, void* buffer, unsigned int count) {
    (void)fd;
    (void)buffer;
    (void)count;
    errno = EBADF;
    return -1;
}

static int __cdecl NoRandS(unsigned int* value) {
    if (value) *value = 0;
    return EINVAL;
}

/* rand_s is reached through its import pointer, like a DLL function. */
void* tvsImpRandS __asm__("__imp__rand_s") = (void*)NoRandS;
