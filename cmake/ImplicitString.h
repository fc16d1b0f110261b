// Included first into every C++ file of the shipped programs (see the top
// CMakeLists.txt).
//
// The C++ library declares std::string an explicit instantiation that it
// defines itself, so every program calls the library's copy of each member.
// That copy is a single object with one unwind table for all members, and
// the link keeps every function that has an unwind entry: one call to a
// string member brings all of them, about 33 KB. The library's own escape
// (the value -1, also used by its assertion mode) turns the declaration off
// for std::string only, so each program instantiates the members it uses
// and no others. The members are the same code from the same headers.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
