// Linked into the shipped programs only (see the top CMakeLists.txt).
//
// The C++ library's containers and strings report misuse (a length past
// max_size, a position past the end, a null string) through the
// std::__throw_* functions. The library's own versions of them build
// std::length_error, std::logic_error and std::out_of_range, whose message
// is a copy-on-write string kept for the old ABI: that drags in the whole
// copy-on-write string instantiation, std::random_device with it, and their
// unwind tables, about 46 KB of each program that diskettes pay for; and
// std::random_device names close, read and rand_s, which crtdll.dll lacks. The
// linker cannot drop the unused parts, because every function that has an
// unwind entry is kept alive by the .eh_frame section, which the link keeps
// whole.
//
// These programs never catch those types by name: a window or dialog
// procedure catches CException, std::bad_alloc and then everything else,
// which it reports as an unknown error. So the misuse errors are thrown as
// a small type of their own that still derives from std::exception and
// keeps the library's message, and the two errors that are caught by name,
// std::bad_alloc and std::bad_array_new_length, stay the library's types.
// Defining the functions in an object of the program satisfies the
// references before the linker searches the C++ library. Should a program
// come to call another of them, the library's object comes in again and
// the link fails with duplicate definitions: add that one here.
#include <cstdarg>
#include <cstdio>
#include <exception>
#include <new>

namespace {

class CLibraryMisuse : public std::exception {
public:
    explicit CLibraryMisuse(const char* what) noexcept {
        std::snprintf(what_, sizeof what_, "%s", what ? what : "");
    }
    CLibraryMisuse(const char* format, std::va_list args) noexcept {
        std::vsnprintf(what_, sizeof what_, format ? format : "", args);
    }
    const char* what() const noexcept override { return what_; }

private:
    char what_[256];
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }

void __throw_bad_array_new_length() { throw bad_array_new_length(); }

void __throw_length_error(const char* what) { throw CLibraryMisuse(what); }

void __throw_logic_error(const char* what) { throw CLibraryMisuse(what); }

void __throw_out_of_range(const char* what) { throw CLibraryMisuse(what); }

void __throw_invalid_argument(const char* what) { throw CLibraryMisuse(what); }

void __throw_out_of_range_fmt(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    CLibraryMisuse error(format, args);
    va_end(args);
    throw error;
}

}  // namespace std
