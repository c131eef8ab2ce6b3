#pragma once
// Basic Exec types. Tags and method ids are 32-bit; a tag's data and a
// method's arguments are pointer-sized (IPTR) so pointers survive on 64-bit.
#include <cstddef>
#include <cstdint>

typedef int8_t BYTE;
typedef uint8_t UBYTE;
typedef int16_t WORD;
typedef uint16_t UWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int64_t QUAD;
typedef uint64_t UQUAD;
typedef uintptr_t IPTR;
typedef intptr_t SIPTR;
typedef void *APTR;
typedef const void *CONST_APTR;
typedef char *STRPTR;
typedef const char *CONST_STRPTR;
typedef char TEXT;
typedef int16_t BOOL;
typedef uint32_t uint32;
typedef int32_t int32;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif
