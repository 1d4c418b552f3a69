#pragma once

// The plug-in's interface to its host. All three functions are cdecl and exported by
// their plain names. Memory they return comes from the C runtime's malloc (msvcrt.dll)
// and belongs to the host, which releases it with that runtime's free.

#ifdef __cplusplus
extern "C" {
#endif

// Writes the display name into buffer (bufferSize bytes, terminator included).
// Returns 0 on success, -1 when buffer is null, the name does not fit, or the settings
// file sets an unusable name; on failure the buffer is not written.
int __cdecl GetDisplayName(char* buffer, unsigned int bufferSize);

// Returns the extensions the installed WIC decoders claim, lower case and without their
// dots, sorted, without repeats and minus those the settings file excludes, joined by
// commas ("bmp,gif,jpeg,..."). The list is empty ("") when nothing is left; the result is
// null only when the list itself cannot be allocated.
char* __cdecl GetSupportedExtensions(void);

#ifdef __cplusplus
}
#endif
