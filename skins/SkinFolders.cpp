#include "SkinFolders.h"

#include "platform/ApplicationFolder.h"

namespace skins {
namespace {
std::string& overriddenDefaultFolder() {
    static std::string folder;
    return folder;
}
} // namespace

std::string skinsFolder() {
    return platform::applicationFolder() + "skins";
}

std::string defaultSkinFolder() {
    const std::string& overridden = overriddenDefaultFolder();
    return overridden.empty() ? platform::applicationFolder() + "skins/Default/" : overridden;
}

void setDefaultSkinFolder(const std::string& folder) {
    overriddenDefaultFolder() = folder;
}

} // namespace skins
