#include "platform/ui/questions/question_record.h"

namespace platform::ui::questions {

namespace {

enum ItemFlags : std::uint8_t {
    kSeparator = 1,
    kChecked = 2,
    kGrayed = 4,
    kDisabled = 8,
    kHasSubmenu = 16,
};

bool readItems(wire::Reader& reader, Menu& menu, int depth, int& budget) {
    const std::uint32_t count = reader.u32();
    if (!reader.ok() || depth > kMaxMenuDepth || count > static_cast<std::uint32_t>(budget))
        return false;
    budget -= static_cast<int>(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        const std::uint8_t flags = reader.u8();
        const UINT id = reader.u32();
        std::wstring text = reader.text();
        if (!reader.ok())
            return false;
        if (flags & kSeparator) {
            menu.appendSeparator();
        } else if (flags & kHasSubmenu) {
            auto submenu = std::make_unique<Menu>();
            if (!readItems(reader, *submenu, depth + 1, budget))
                return false;
            menu.appendSubmenu(std::move(text), std::move(submenu), id);
        } else {
            menu.appendString(id, std::move(text));
        }
        MenuItem* added = menu.at(menu.count() - 1);
        added->checked = (flags & kChecked) != 0;
        added->grayed = (flags & kGrayed) != 0;
        added->disabled = (flags & kDisabled) != 0;
    }
    return true;
}

}  // namespace

void writeMenu(wire::Writer& writer, const Menu& menu) {
    writer.u32(static_cast<std::uint32_t>(menu.count()));
    for (const MenuItem& item : menu.items()) {
        const bool opens = item.submenu && !item.separator;
        const std::uint8_t flags = (item.separator ? kSeparator : 0) |
                                   (item.checked ? kChecked : 0) | (item.grayed ? kGrayed : 0) |
                                   (item.disabled ? kDisabled : 0) | (opens ? kHasSubmenu : 0);
        writer.u8(flags).u32(item.id).text(item.text);
        if (opens)
            writeMenu(writer, *item.submenu);
    }
}

std::unique_ptr<Menu> readMenu(wire::Reader& reader) {
    auto menu = std::make_unique<Menu>();
    int budget = kMaxMenuItems;
    if (!readItems(reader, *menu, 0, budget))
        return nullptr;
    return menu;
}

wire::Bytes questionRecord(const MenuQuestion& question) {
    wire::Writer writer;
    writer.u32(question.asker.processId)
        .u64(question.asker.handle.value)
        .u64(question.token)
        .i64(question.at.x)
        .i64(question.at.y);
    if (question.menu)
        writeMenu(writer, *question.menu);
    else
        writer.u32(0);
    return writer.data();
}

std::optional<MenuQuestion> readQuestion(const wire::Bytes& record) {
    wire::Reader reader(record);
    MenuQuestion question;
    question.asker.processId = reader.u32();
    question.asker.handle = HWND{reader.u64()};
    question.token = reader.u64();
    question.at.x = static_cast<int>(reader.i64());
    question.at.y = static_cast<int>(reader.i64());
    auto menu = readMenu(reader);
    if (!reader.ok() || !menu || !question.asker)
        return std::nullopt;
    question.menu = std::move(menu);
    return question;
}

wire::Bytes answerRecord(const MenuAnswer& answer) {
    wire::Writer writer;
    writer.u64(answer.token).u32(answer.chosen);
    return writer.data();
}

std::optional<MenuAnswer> readAnswer(const wire::Bytes& record) {
    wire::Reader reader(record);
    MenuAnswer answer;
    answer.token = reader.u64();
    answer.chosen = reader.u32();
    if (!reader.ok())
        return std::nullopt;
    return answer;
}

}  // namespace platform::ui::questions
