#include "platform/ui/control.h"

namespace platform::ui {

const std::wstring& ListRow::text() const {
    static const std::wstring empty;
    return texts.empty() ? empty : texts.front();
}

}  // namespace platform::ui
