#include "TextForm.h"

bool ExportLayoutFile(const std::string&, const std::string&, std::string* error) {
    if (error != nullptr)
        *error = "export is not available yet";
    return false;
}

bool ImportLayoutDir(const std::string&, const std::string&, std::string* error) {
    if (error != nullptr)
        *error = "import is not available yet";
    return false;
}
