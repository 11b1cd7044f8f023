#include "base/program_folder.h"

namespace dusklet {

std::u16string FolderOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u'\\');
    std::u16string folder(path.substr(0, slash == std::u16string_view::npos ? 0 : slash));
    if (folder.size() == 2 && folder[1] == u':') folder += u'\\';
    return folder;
}

}  // namespace dusklet
