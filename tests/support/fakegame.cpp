// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the game (as CoDMP.exe) or for wine: writes what it was started with to its own
// path with ".log" added: its working folder, the two OpenGL settings of its environment, then its
// arguments, one a line. On Windows it also writes the command line as the system handed it over
// to ".commandline", since the game reads that text itself. Plain C++, linked statically on
// Windows, so that a copy runs in any folder.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;

struct Start
{
    fs::path self;
    std::string folder;
    std::vector<std::string> arguments;
    std::string commandLine; // Windows only
};

#ifdef _WIN32

std::string utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size_t(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

Start howStarted(int, char *[])
{
    Start start;
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    start.self = path;
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    start.folder = utf8(folder.c_str());
    start.commandLine = utf8(GetCommandLineW());
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i)
        start.arguments.push_back(utf8(arguments[i]));
    LocalFree(arguments);
    return start;
}

std::FILE *openToWrite(const fs::path &path)
{
    return _wfopen(path.c_str(), L"wb");
}

#else

Start howStarted(int argc, char *argv[])
{
    return {argv[0], fs::current_path().string(), {argv + 1, argv + argc}, {}};
}

std::FILE *openToWrite(const fs::path &path)
{
    return std::fopen(path.c_str(), "wb");
}

#endif

std::string environmentValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "<unset>";
}

// Written beside and then renamed, so that a reader never sees half of it.
bool writeFile(const fs::path &path, const std::vector<std::string> &lines)
{
    fs::path part = path;
    part += ".part";
    std::FILE *file = openToWrite(part);
    if (!file)
        return false;
    bool written = true;
    for (const std::string &line : lines)
        written = std::fprintf(file, "%s\n", line.c_str()) >= 0 && written;
    written = std::fclose(file) == 0 && written;
    std::error_code error;
    if (written)
        fs::rename(part, path, error);
    return written && !error;
}

fs::path withSuffix(fs::path path, const char *suffix)
{
    path += suffix;
    return path;
}

} // namespace

int main(int argc, char *argv[])
{
    const Start start = howStarted(argc, argv);
    std::vector<std::string> lines{start.folder, environmentValue("MESA_EXTENSION_MAX_YEAR"),
                                   environmentValue("__GL_ExtensionStringVersion")};
    lines.insert(lines.end(), start.arguments.begin(), start.arguments.end());
    const bool written = (start.commandLine.empty()
                          || writeFile(withSuffix(start.self, ".commandline"), {start.commandLine}))
        && writeFile(withSuffix(start.self, ".log"), lines);
    return written ? 0 : 1;
}
