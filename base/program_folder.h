// Where the program's own files lie.
#pragma once
#include <string>
#include <string_view>

namespace dusklet {

// The folder that holds a file, from the file's full path: everything before
// the last backslash, with no trailing separator, except that a drive's root
// keeps it ("C:\"). Works on the wide text, so a double-byte character whose
// second byte is a backslash in the ANSI code page is never taken for one.
std::u16string FolderOf(std::u16string_view path);

}  // namespace dusklet
