#include "settings/program_location.h"

#include "platform/platform.h"

namespace wlk::settings {

Text FolderOf(const Text& path) {
    size_t slash = path.find_last_of(u"\\/");
    return slash == Text::npos ? Text() : path.substr(0, slash + 1);
}

Text WithBackslash(const Text& path) {
    if (path.empty() || path.back() == u'\\') return path;
    return path + u"\\";
}

Text ProgramFolder() {
    return FolderOf(platform::Current().system.ProgramPath());
}

bool RunsFromPortableDrive() {
    Text program = platform::Current().system.ProgramPath();
    Text root = program.size() >= 2 && program[1] == u':' ? program.substr(0, 2) + u"\\" : Text();
    auto type = platform::Current().files.GetDriveType(root);
    return type <= platform::DriveType::Removable || type == platform::DriveType::Remote;
}

bool MayWriteFileOrFolder(const Text& path) {
    auto& files = platform::Current().files;
    if (files.Kind(path) == platform::PathKind::File) return files.CanWrite(path);
    return files.CanWrite(FolderOf(path));
}

}  // namespace wlk::settings
