//------------------------------------------------------------------------------
// File    : main.h
// Author  :
// Date    :
// Purpose : limits of the command table, version and synchronisation marker
//------------------------------------------------------------------------------
#ifndef MAIN_H
#define MAIN_H

#define MAX_CMD 50                     // commands per table, built-ins included
#define MAX_ARG 20                     // switches per command
#define MAX_SIZE_CMD 64                // bytes of a command word, terminator included
#define MAX_SIZE_HELP 256              // bytes of a command's or a switch's help
#define MAX_SIZE_ARG 1024              // bytes of a switch name
#define MAX_SIZE_DEFAULT_PCHAR_ARG 1024 // bytes of a text switch's default

#define MAX_CMDSIZE 40000              // bytes of the line buffer
#define MAX_CMD_LINE 10                // token slots of a line: the word, four pairs, the end mark

#define VERSION_NO "2.3"
#define SYNCHRO ">>"

#define ANOMALIE_CMD_NOTFOUND "Command not found !\n"
#define ANOMALIE_ARG_ERROR "Wrong parameters!\n"

// xshell results besides 1 (a line was read) and 0 (null buffer or size below 2).
#define XSHELL_END_OF_INPUT (-1)
#define XSHELL_SIGNAL (-2)
#define XSHELL_LINE_REFUSED 2          // longer than the buffer, or holding a NUL byte

extern "C" {
// Reads one line from standard input into buffer (at most size - 1 bytes). CR or LF ends a line,
// backspace drops the last byte, an empty line reads as "\n". Blocks until a line, the end of the
// input or a terminating signal.
int xshell(char* buffer, int size);
}

// Ends the process after the command object's clean-up; the exit code is value.
void handler(int value);

#endif
