#include "render/FileKind.h"

#include <filesystem>

std::string notAFileProblem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    switch (status.type()) {
    case fs::file_type::regular:
    case fs::file_type::not_found:
        return "";
    case fs::file_type::directory:
        return "is a folder, not a file";
    case fs::file_type::fifo:
        return "is a named pipe (FIFO), not a file";
    case fs::file_type::socket:
        return "is a socket, not a file";
    case fs::file_type::block:
    case fs::file_type::character:
        return "is a device, not a file";
    default:
        return error ? "cannot be looked at: " + error.message() : "is not a file";
    }
}
