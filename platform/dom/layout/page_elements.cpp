#include "platform/dom/layout/page_elements.h"

#include <litehtml.h>
// The element headers need litehtml.h's declarations first.
#include <el_anchor.h>
#include <el_base.h>
#include <el_body.h>
#include <el_break.h>
#include <el_div.h>
#include <el_font.h>
#include <el_image.h>
#include <el_link.h>
#include <el_para.h>
#include <el_table.h>
#include <el_td.h>
#include <el_title.h>
#include <el_tr.h>

#include <algorithm>
#include <type_traits>

#include "platform/dom/layout/boxes/paint_bounds.h"
#include "platform/dom/layout/markup/page_direction.h"
#include "platform/text/ascii_case.h"
#include "platform/text/html_space.h"

namespace platform::dom {

namespace {

using text::lowerAscii;

// Every class name of the attribute, in lower case (split on any white space, so that no
// name the engine could read is missed).
std::vector<std::string> classesOf(const char* attribute) {
    std::vector<std::string> classes;
    if (!attribute)
        return classes;
    const std::string_view text(attribute);
    for (std::size_t i = 0; i < text.size();) {
        while (i < text.size() && platform::text::isHtmlSpace(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !platform::text::isHtmlSpace(text[i]))
            ++i;
        if (i > start)
            classes.push_back(lowerAscii(text.substr(start, i - start)));
    }
    return classes;
}

// The engine reads the weights "100" to "700" as the names of its weight keywords and then
// takes each of them for 400 (only "bold", 800 and 900 came out heavier); written with a
// space before the number it reads the number itself, as it does 800 and 900.
const char* weightTheEngineReads(const char* name, const char* value) {
    static constexpr const char* kNumbers[] = {" 100", " 200", " 300", " 400",
                                               " 500", " 600", " 700"};
    if (value && value[0] >= '1' && value[0] <= '7' && value[1] == '0' && value[2] == '0' &&
        value[3] == 0 && std::strcmp(name, "font-weight") == 0)
        return kNumbers[value[0] - '1'];
    return value;
}

// "start" and "end", which the engine does not know (it aligns them left), as the side they
// stand for in the element's direction; and "justify", whose lines the engine sets from the
// left unstretched, from the right in a right-to-left element. The markup marks each element
// with a direction of its own.
const char* sideTheEngineReads(const litehtml::element& element, const char* name,
                               const char* value) {
    if (!value ||
        (std::strcmp(value, "start") != 0 && std::strcmp(value, "end") != 0 &&
         std::strcmp(value, "justify") != 0) ||
        std::strcmp(name, "text-align") != 0)
        return value;
    bool rightToLeft = false;
    for (const litehtml::element* at = &element; at; at = at->parent().get())
        if (const char* direction = at->get_attr(kDirectionAttribute)) {
            rightToLeft = std::strcmp(direction, "rtl") == 0;
            break;
        }
    if (value[0] == 'j')
        return rightToLeft ? "right" : value;
    return (value[0] == 's') != rightToLeft ? "left" : "right";
}

// An engine element class that tries only the rules the index names for it. What it does
// with each rule is what the engine's own html_tag::apply_stylesheet does with every rule
// of the sheet.
template <class Base>
class PageElement final : public Base, public OwnStyles, public PaintBounds {
  public:
    PageElement(const std::shared_ptr<litehtml::document>& doc, StyleRuleIndex& index,
                PropertyIds& properties)
        : Base(doc), index_(index), properties_(properties) {}

    // What the engine's html_tag answers, with the answers for inherited properties
    // remembered (see inherited_values.h).
    const char* get_style_property(const char* name, bool inherited,
                                   const char* def) const override {
        if (!inherited || !name)
            return Base::get_style_property(name, inherited, def);
        const std::uint32_t id = properties_.idOf(name);
        const char* value = nullptr;
        if (!inherited_.find(id, value)) {
            value = weightTheEngineReads(name, Base::get_style_property(name, true, nullptr));
            value = sideTheEngineReads(*this, name, value);
            inherited_.remember(id, value, properties_.count());
        }
        return value ? value : def;
    }

    // Every way the element's own style changes forgets the answers.
    void parse_styles(bool is_reparse = false) override {
        inherited_.forget();
        Base::parse_styles(is_reparse);
    }
    void refresh_styles() override {
        inherited_.forget();
        Base::refresh_styles();
    }
    void add_style(const litehtml::tstring& style, const litehtml::tstring& baseurl) override {
        inherited_.forget();
        Base::add_style(style, baseurl);
    }
    void parse_attributes() override {
        inherited_.forget();
        Base::parse_attributes();
    }

    void apply_stylesheet(const litehtml::css& sheet) override {
        inherited_.forget();
        if constexpr (std::is_same_v<Base, litehtml::el_anchor>) {
            // The engine's anchor takes :link for every sheet it is given.
            if (this->get_attr("href"))
                this->m_pseudo_classes.push_back("link");
        }
        this->remove_before_after();
        const char* tag = this->get_tagName();
        const char* id = this->get_attr("id");
        const auto& selectors = sheet.selectors();
        for (std::size_t position :
             index_.candidates(sheet, lowerAscii(tag ? tag : ""), lowerAscii(id ? id : ""),
                               classesOf(this->get_attr("class"))))
            apply(selectors[position]);
        for (auto& child : this->m_children)
            if (child->get_display() != litehtml::display_inline_text)
                child->apply_stylesheet(sheet);
    }

    // The sibling before `child` that is not text, when it matches: found from the child's
    // place among the children instead of by a walk from the first child, which made
    // "a + b" rules quadratic in the number of children.
    litehtml::element::ptr find_adjacent_sibling(const litehtml::element::ptr& child,
                                                 const litehtml::css_selector& selector,
                                                 bool apply_pseudo, bool* is_pseudo) override {
        const auto& children = this->m_children;
        std::size_t at = placeOf(*child);
        if (at == children.size())
            return nullptr;
        while (at-- > 0) {
            const litehtml::element::ptr& before = children[at];
            if (before->get_display() == litehtml::display_inline_text)
                continue;
            const int match = before->select(selector, apply_pseudo);
            if (match == litehtml::select_no_match)
                return nullptr;
            if (is_pseudo)
                *is_pseudo = (match & litehtml::select_match_pseudo_class) != 0;
            return before;
        }
        return nullptr;
    }

    // What the engine's refresh_styles and parse_styles do for the element itself: the
    // rules it matched are tried again (pseudo-classes may have changed) and applied to
    // it, then its style attribute; ::before and ::after keep what they have.
    void restyleOwn() override {
        inherited_.forget();
        this->m_style.clear();
        for (auto& used : this->m_used_styles) {
            used->m_used = false;
            const litehtml::css_selector& selector = *used->m_selector;
            if (!selector.is_media_valid())
                continue;
            const int match = this->select(selector, false);
            if (match == litehtml::select_no_match ||
                (match & (litehtml::select_match_with_before | litehtml::select_match_with_after)))
                continue;
            if ((match & litehtml::select_match_pseudo_class) && !this->select(selector, true))
                continue;
            this->add_style(selector.m_style, selector.m_baseurl);
            used->m_used = true;
        }
        this->parse_styles(true);
    }

    void setChildrenPaintArea(std::optional<PaintArea> area) override { childrenArea_ = area; }

    void widenChildrenPaintArea(const PaintArea& area) override {
        if (childrenArea_)
            childrenArea_->include(area);
    }

    // Children that paint wholly outside the area being painted are not walked.
    void draw_children(litehtml::uint_ptr hdc, int x, int y, const litehtml::position* clip,
                       litehtml::draw_flag flag, int zindex) override {
        if (clip && childrenArea_ && !childrenArea_->meets(*clip, x, y))
            return;
        Base::draw_children(hdc, x, y, clip, flag, zindex);
    }

  private:
    // The child's index among the children (their count when it is not one of them).
    std::size_t placeOf(const litehtml::element& child) {
        const auto& children = this->m_children;
        auto found = places_.find(&child);
        if (found == places_.end() || found->second >= children.size() ||
            children[found->second].get() != &child) {
            places_.clear();
            for (std::size_t i = 0; i < children.size(); ++i)
                places_.emplace(children[i].get(), i);
            found = places_.find(&child);
        }
        return found == places_.end() ? children.size() : found->second;
    }

    void apply(const litehtml::css_selector::ptr& selector) {
        const int match = this->select(*selector, false);
        if (match == litehtml::select_no_match)
            return;
        auto used = std::make_unique<litehtml::used_selector>(selector, false);
        if (selector->is_media_valid() &&
            (!(match & litehtml::select_match_pseudo_class) || this->select(*selector, true))) {
            if (match & litehtml::select_match_with_after) {
                if (auto after = this->get_element_after())
                    after->add_style(selector->m_style, selector->m_baseurl);
            } else if (match & litehtml::select_match_with_before) {
                if (auto before = this->get_element_before())
                    before->add_style(selector->m_style, selector->m_baseurl);
            } else {
                if (const litehtml::style* parsed = index_.declarations(*selector, *this))
                    this->m_style.combine(*parsed);
                else
                    this->add_style(selector->m_style, selector->m_baseurl);
                used->m_used = true;
            }
        }
        this->m_used_styles.push_back(std::move(used));
    }

    StyleRuleIndex& index_;
    PropertyIds& properties_;
    mutable InheritedValues inherited_;
    std::unordered_map<const litehtml::element*, std::size_t> places_;
    std::optional<PaintArea> childrenArea_;
};

template <class Base>
std::shared_ptr<litehtml::element> make(const std::shared_ptr<litehtml::document>& doc,
                                        StyleRuleIndex& index, PropertyIds& properties) {
    return std::make_shared<PageElement<Base>>(doc, index, properties);
}

// The key a compound selector is filed under: its id, else its first class, else its tag.
enum class Key { everywhere, tag, id, className };

std::pair<Key, std::string> keyOf(const litehtml::css_element_selector& compound) {
    for (const auto& attribute : compound.m_attrs)
        if (attribute.attribute == "id" && attribute.condition == litehtml::select_equal)
            return {Key::id, lowerAscii(attribute.val)};
    for (const auto& attribute : compound.m_attrs)
        if (attribute.attribute == "class" && attribute.condition == litehtml::select_equal &&
            !attribute.class_val.empty())
            return {Key::className, lowerAscii(attribute.class_val.front())};
    if (!compound.m_tag.empty() && compound.m_tag != "*")
        return {Key::tag, lowerAscii(compound.m_tag)};
    return {Key::everywhere, {}};
}

void append(std::vector<std::size_t>& to,
            const std::unordered_map<std::string, std::vector<std::size_t>>& lists,
            const std::string& key) {
    if (key.empty())
        return;
    if (auto found = lists.find(key); found != lists.end())
        to.insert(to.end(), found->second.begin(), found->second.end());
}

}  // namespace

StyleRuleIndex::Sheet StyleRuleIndex::indexOf(const litehtml::css& sheet) {
    Sheet index;
    index.rules = sheet.selectors().size();
    for (std::size_t i = 0; i < sheet.selectors().size(); ++i) {
        auto [key, name] = keyOf(sheet.selectors()[i]->m_right);
        switch (key) {
            case Key::everywhere:
                index.everywhere.push_back(i);
                break;
            case Key::tag:
                index.byTag[name].push_back(i);
                break;
            case Key::id:
                index.byId[name].push_back(i);
                break;
            case Key::className:
                index.byClass[name].push_back(i);
                break;
        }
    }
    return index;
}

const std::vector<std::size_t>& StyleRuleIndex::candidates(
    const litehtml::css& sheet, const std::string& tag, const std::string& id,
    const std::vector<std::string>& classes) {
    auto found = sheets_.find(&sheet);
    if (found == sheets_.end() || found->second.rules != sheet.selectors().size())
        found = sheets_.insert_or_assign(&sheet, indexOf(sheet)).first;
    const Sheet& index = found->second;
    found_ = index.everywhere;
    append(found_, index.byTag, tag);
    append(found_, index.byId, id);
    for (const std::string& name : classes)
        append(found_, index.byClass, name);
    std::sort(found_.begin(), found_.end());
    found_.erase(std::unique(found_.begin(), found_.end()), found_.end());
    return found_;
}

const litehtml::style* StyleRuleIndex::declarations(const litehtml::css_selector& rule,
                                                    const litehtml::element& first) {
    auto found = declarations_.find(&rule);
    if (found == declarations_.end()) {
        std::unique_ptr<litehtml::style> parsed;
        if (rule.m_style.find("var(") == std::string::npos) {
            parsed = std::make_unique<litehtml::style>();
            parsed->add(rule.m_style.c_str(), rule.m_baseurl.c_str(), &first);
        }
        found = declarations_.emplace(&rule, std::move(parsed)).first;
    }
    return found->second.get();
}

std::shared_ptr<litehtml::element> makePageElement(const std::string& tag,
                                                   const std::shared_ptr<litehtml::document>& doc,
                                                   StyleRuleIndex& index, PropertyIds& properties) {
    using Maker = std::shared_ptr<litehtml::element> (*)(const std::shared_ptr<litehtml::document>&,
                                                         StyleRuleIndex&, PropertyIds&);
    // The engine's own class for each tag (the others are plain html_tag; an inline svg is
    // a picture of its own markup, see inline_svg.h). The engine
    // makes the rest itself: "li", whose class it does not publish, and "script" and
    // "style", which match no rules.
    static const std::unordered_map<std::string, Maker> kMakers = {
        {"a", make<litehtml::el_anchor>},    {"base", make<litehtml::el_base>},
        {"body", make<litehtml::el_body>},   {"br", make<litehtml::el_break>},
        {"div", make<litehtml::el_div>},     {"font", make<litehtml::el_font>},
        {"img", make<litehtml::el_image>},   {"link", make<litehtml::el_link>},
        {"p", make<litehtml::el_para>},      {"table", make<litehtml::el_table>},
        {"td", make<litehtml::el_td>},       {"th", make<litehtml::el_td>},
        {"title", make<litehtml::el_title>}, {"tr", make<litehtml::el_tr>},
        {"svg", make<litehtml::el_image>}};
    if (tag == "li" || tag == "script" || tag == "style")
        return nullptr;
    if (auto maker = kMakers.find(tag); maker != kMakers.end())
        return maker->second(doc, index, properties);
    return make<litehtml::html_tag>(doc, index, properties);
}

}  // namespace platform::dom
