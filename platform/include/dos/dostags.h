#pragma once
// Tags of SystemTags.
#include <utility/tagitem.h>

#define SYS_Dummy (TAG_USER + 32)
#define SYS_Input (SYS_Dummy + 1)       // input stream (BPTR); null: none
#define SYS_Output (SYS_Dummy + 2)      // output stream (BPTR); null: none
#define SYS_Asynch (SYS_Dummy + 3)      // TRUE: start the command and return at once
#define SYS_UserShell (SYS_Dummy + 4)   // run through the user's shell
#define SYS_CustomShell (SYS_Dummy + 5) // run through the named shell
#define SYS_Error (SYS_Dummy + 10)      // error stream (BPTR)
