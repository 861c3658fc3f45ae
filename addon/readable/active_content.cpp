#include "addon/readable/active_content.h"

#include "addon/page/page_clean.h"

namespace addon {

void stripActiveContent(const ElementPtr& root) {
    if (!root)
        return;
    removeElementsByMask(root, kRemoveScripts | kRemoveIframes);
    removeEventAttributes(root);
    cleanAttributes(root, kCleanScriptUses);
}

}  // namespace addon
