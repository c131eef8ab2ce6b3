# write_desktop_entry(DRAWER FILE): writes the desktop entry of the drawer at
# DRAWER (an absolute path) to FILE. Exec and Icon name the drawer's program
# and icon, escaped as desktop entries require, so any folder name works.

# A value of type string: a backslash is written doubled.
function(_desktop_string text out)
    string(REPLACE "\\" "\\\\" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# One argument of Exec: '%' doubled (it starts a field code); quoted, with
# '"', '`', '$' and '\' escaped, when it holds a character the line reserves.
function(_desktop_exec_argument text out)
    string(REPLACE "%" "%%" text "${text}")
    if(text MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
        string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" text "${text}")
        set(text "\"${text}\"")
    endif()
    _desktop_string("${text}" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(write_desktop_entry drawer file)
    _desktop_exec_argument("${drawer}/karvolin" KARVOLIN_EXEC)
    _desktop_string("${drawer}/karvolin.png" KARVOLIN_ICON)
    file(READ "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/karvolin.desktop.in" template)
    string(CONFIGURE "${template}" entry @ONLY)
    file(WRITE "${file}" "${entry}")
endfunction()
