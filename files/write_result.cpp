#include "files/write_result.h"

#include <string.h>

#include <string_view>

namespace slabrating {

std::string WriteResult::reason() const {
    std::string_view name;
    switch (step) {
        case WriteStep::None:
            return {};
        case WriteStep::Name:
            name = "no file name";
            break;
        case WriteStep::Status:
            name = "status";
            break;
        case WriteStep::NotPlainFile:
            name = "not a plain file";
            break;
        case WriteStep::ReadOnly:
            name = "read-only";
            break;
        case WriteStep::Protected:
            name = "protected file";
            break;
        case WriteStep::WrittenThisRun:
            name = "a file this run wrote already";
            break;
        case WriteStep::Folder:
            name = "folder";
            break;
        case WriteStep::Create:
            name = "create";
            break;
        case WriteStep::Attributes:
            name = "owner and mode";
            break;
        case WriteStep::Write:
            name = "write";
            break;
        case WriteStep::Sync:
            name = "sync";
            break;
        case WriteStep::Close:
            name = "close";
            break;
        case WriteStep::Rename:
            name = "rename";
            break;
    }
    std::string text(name);
    // The system's own English text, never translated, so a summary reads the same anywhere.
    if (const char* description = error != 0 ? ::strerrordesc_np(error) : nullptr) {
        text += ": ";
        text += description;
    }
    return text;
}

}  // namespace slabrating
