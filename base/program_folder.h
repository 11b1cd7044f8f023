// Where the program's own files lie, and how file names compare.
#pragma once
#include <string>
#include <string_view>

namespace dusklet {

// The folder that holds a file, from the file's full path: everything before
// the last backslash, with no trailing separator, except that a drive's root
// keeps it ("C:\"). Works on the wide text, so a double-byte character whose
// second byte is a backslash in the ANSI code page is never taken for one.
std::u16string FolderOf(std::u16string_view path);
// The file's name without its folder.
std::u16string_view FileNameOf(std::u16string_view path);
// Whether two file names name the same file: the same letters, A to Z in
// any case, as the file system compares them for the names programs carry.
bool SameFileName(std::u16string_view a, std::u16string_view b);

}  // namespace dusklet
