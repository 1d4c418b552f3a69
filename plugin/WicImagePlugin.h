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

// Decodes frame frameIndex of the image file at path (8-bit text in the system's ANSI
// code page) through the Windows Imaging Component. On success returns 0 with the file's
// frame count, the frame's size and a malloc'ed buffer of width x height x 3 bytes: packed
// R, G, B, top-down rows of width x 3 bytes, alpha dropped. A frame of a GIF animation is
// the picture a viewer shows: the animation's whole logical screen with the frame drawn
// over what the frames before it left (raw frames when the settings file has gif=raw
// under [Frames]). A JPEG or TIFF photo comes upright, turned and mirrored as its
// Orientation tag says, width and height swapped for a quarter turn (as stored when the
// settings file has orientation=raw under [Frames]). Returns -1 on failure, with one "[WIC_Plugin] ... Failed!" debugger
// message naming the failing step; outputs of the steps before it keep their values, and
// a buffer allocated before the copy failed still belongs to the host. A null path or
// output pointer gives -1 and writes nothing.
int __cdecl GetImageData(const char* path, unsigned int frameIndex, unsigned int* frameCount, unsigned int* width,
                         unsigned int* height, void** pixels, unsigned int* byteCount);

#ifdef __cplusplus
}
#endif
