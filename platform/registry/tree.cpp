#include "platform/registry/tree.h"

namespace platform::registry {

KeyPath splitKeyPath(std::wstring_view path) {
    KeyPath segments;
    while (!path.empty()) {
        const auto slash = path.find(L'\\');
        const auto segment = path.substr(0, slash);
        if (!segment.empty()) {
            segments.emplace_back(segment);
        }
        if (slash == std::wstring_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return segments;
}

std::wstring joinKeyPath(const KeyPath& path) {
    std::wstring joined;
    for (const auto& segment : path) {
        if (!joined.empty()) {
            joined += L'\\';
        }
        joined += segment;
    }
    return joined;
}

const Key* findKey(const Key& root, const KeyPath& path) {
    const Key* key = &root;
    for (const auto& segment : path) {
        const auto found = key->subkeys.find(segment);
        if (found == key->subkeys.end()) {
            return nullptr;
        }
        key = &found->second;
    }
    return key;
}

Key* findKey(Key& root, const KeyPath& path) {
    return const_cast<Key*>(findKey(static_cast<const Key&>(root), path));
}

Key& createKey(Key& root, const KeyPath& path, bool& created) {
    created = false;
    Key* key = &root;
    for (const auto& segment : path) {
        auto [position, inserted] = key->subkeys.try_emplace(segment);
        created = created || inserted;
        key = &position->second;
    }
    return *key;
}

}  // namespace platform::registry
