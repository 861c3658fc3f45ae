#include "addon/readable/article_markup.h"

#include "addon/readable/main_element.h"

namespace addon {

std::wstring articleMarkup(const ElementPtr& body, const GrabRules& rules) {
    const ElementPtr article = findArticleElement(body, rules);
    return article ? article->outerHTML() : std::wstring();
}

}  // namespace addon
