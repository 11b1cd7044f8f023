#include "base/program_folder.h"

namespace dusklet {

std::u16string FolderOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u'\\');
    std::u16string folder(path.substr(0, slash == std::u16string_view::npos ? 0 : slash));
    if (folder.size() == 2 && folder[1] == u':') folder += u'\\';
    return folder;
}

std::u16string_view FileNameOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u'\\');
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

bool SameFileName(std::u16string_view a, std::u16string_view b) {
    const auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

}  // namespace dusklet
