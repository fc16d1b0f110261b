// Linked into the shipped programs only (see the top CMakeLists.txt).
//
// An exception that nothing catches ends the program through the runtime's
// terminate handler. The runtime's default one first prints the exception's
// type, demangled, to the standard error stream: a windowed program has none
// on any target system, and the demangler alone is about 46 KB of each
// program, which diskettes pay for. Every window, dialog and hook procedure
// of these programs catches everything and reports it, so reaching this
// handler is a fault that nothing can report any more: end at once, as the
// default handler does after its printing.
//
// Defining the handler in an object of the program satisfies the runtime's
// reference before the linker searches the C++ library, so its own handler
// and the demangler stay out.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
