#include "platform/registry/files.h"

#include "platform/registry/handles.h"
#include "platform/registry/hive.h"

namespace platform {

std::string RegistryHiveFile(HKEY root) {
    registry::KeyRef ref;
    if (!registry::ResolveHandle(root, ref)) return {};
    return registry::Hive::Get(ref.hive).FilePath();
}

}  // namespace platform
