// Files and folders of the device file system (device paths such as "\error.log" map into the device
// root), and processes started by device path.
#pragma once

#include "platform/winerror.h"
#include "platform/wintypes.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u

#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu

#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u

#define STILL_ACTIVE 259u

struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

// Opens or creates a file. access: GENERIC_READ and/or GENERIC_WRITE (0: attributes only). Sharing is
// accepted but not enforced: every handle may read and write alongside the others, each with its own
// position. disposition as on the device: CREATE_NEW fails with ERROR_FILE_EXISTS on an existing
// file; CREATE_ALWAYS and OPEN_ALWAYS succeed on one with last error ERROR_ALREADY_EXISTS (else 0);
// OPEN_EXISTING and TRUNCATE_EXISTING fail with ERROR_FILE_NOT_FOUND on a missing one. A missing
// folder on the way gives ERROR_PATH_NOT_FOUND, a folder ERROR_ACCESS_DENIED. FILE_ATTRIBUTE_READONLY
// creates a read-only file. INVALID_HANDLE_VALUE on failure; CloseHandle closes the file.
HANDLE CreateFileW(LPCWSTR devicePath, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Reads up to toRead bytes at the position and moves it; at the end of the file TRUE with 0 read.
// overlapped must be NULL. ERROR_ACCESS_DENIED without read access.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
// Writes all bytes at the position (extending the file) and moves it; *written says how many were
// written, also on failure (ERROR_DISK_FULL, ERROR_ACCESS_DENIED without write access).
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped);
// Moves the position by a signed distance (the 64-bit distance highPtr:low when highPtr is given,
// else low alone) from FILE_BEGIN, FILE_CURRENT or FILE_END. Returns the low 32 bits of the new
// position (the high ones go to *highPtr) with last error 0, or INVALID_SET_FILE_POINTER with
// ERROR_NEGATIVE_SEEK before the start, ERROR_INVALID_PARAMETER for a bad method or, without
// highPtr, a position beyond 32 bits; the position is then unchanged.
DWORD SetFilePointer(HANDLE file, LONG distanceLow, PLONG distanceHigh, DWORD moveMethod);
// Low 32 bits of the size (high ones to *sizeHigh when given); INVALID_FILE_SIZE on failure.
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
// Makes the file's data durable (fsync).
BOOL FlushFileBuffers(HANDLE file);
// Cuts or extends the file to the current position.
BOOL SetEndOfFile(HANDLE file);
// Deletes a file: ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND when missing, ERROR_ACCESS_DENIED for
// a folder.
BOOL DeleteFileW(LPCWSTR devicePath);
// Creates one folder: ERROR_ALREADY_EXISTS when it exists, ERROR_PATH_NOT_FOUND when its parent
// is missing.
BOOL CreateDirectoryW(LPCWSTR devicePath, LPSECURITY_ATTRIBUTES attributes);
// Removes an empty folder.
BOOL RemoveDirectoryW(LPCWSTR devicePath);
// FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_READONLY or FILE_ATTRIBUTE_NORMAL; INVALID_FILE_ATTRIBUTES
// with ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND when missing.
DWORD GetFileAttributesW(LPCWSTR devicePath);
// Renames a file or folder; fails with ERROR_ALREADY_EXISTS when the new name exists.
BOOL MoveFileW(LPCWSTR existingPath, LPCWSTR newPath);
// Copies a file. With failIfExists an existing target fails with ERROR_FILE_EXISTS; otherwise it is
// replaced only once the copy is complete, so a failed copy leaves it as it was.
BOOL CopyFileW(LPCWSTR existingPath, LPCWSTR newPath, BOOL failIfExists);

struct STARTUPINFOW;  // not used on the device: pass NULL
typedef STARTUPINFOW* LPSTARTUPINFOW;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

// Starts the program at a device path ("\windows\dashel.exe"; a bare name is looked up in the root,
// then in "\windows"; "X.exe" also finds the Linux program file "X"). A non-empty command line is
// given to the program as its one argument; the program inherits the environment (device root,
// display settings) except the input script, which belongs to this program: the new one runs the
// script VARKEL_SCRIPT_<NAME> names, if any (NAME: its file name without extension, in capitals,
// such as VARKEL_SCRIPT_DASHEL). environment and currentFolder
// must be NULL, as on the device (else ERROR_INVALID_PARAMETER); the other settings are ignored.
// FALSE with ERROR_FILE_NOT_FOUND when the program is missing or not executable, decided before
// anything starts. On success *info holds a process handle (waitable, GetExitCodeProcess) and a
// thread handle standing for the program's main thread; the caller closes both.
BOOL CreateProcessW(LPCWSTR applicationPath, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCWSTR currentFolder, LPSTARTUPINFOW startupInfo,
                    LPPROCESS_INFORMATION info);
// STILL_ACTIVE while the process runs, then its exit status (128 + signal number when a signal
// ended it).
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// Ends the process at once; its exit code becomes exitCode.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
DWORD GetCurrentProcessId();
// Path of the running program (module NULL) or of the program or library holding the module
// address: a device path ("\windows\dashel.exe") when it lies under the device root, else the host
// path. Copies at most size - 1 characters and a terminator; returns the characters copied, or
// size with ERROR_INSUFFICIENT_BUFFER when the path was cut; 0 on failure.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
