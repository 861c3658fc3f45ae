#include "plugin/dialogs/dialog_templates.h"

namespace plugin {

using platform::ui::ControlKind;
using platform::ui::ControlTemplate;
using platform::ui::DialogTemplate;
using platform::ui::IDCANCEL;
using platform::ui::IDOK;

namespace {

DialogTemplate confirmTemplate(int id, const wchar_t* caption, int height, const wchar_t* question,
                               const wchar_t* option) {
    DialogTemplate definition{id, caption, 254, height, {}};
    definition.controls.push_back({.id = kMessageText,
                                   .kind = ControlKind::staticText,
                                   .text = question,
                                   .bounds = {7, 7, 247, 35}});
    if (option)
        definition.controls.push_back({.id = kOptionCheck,
                                       .kind = ControlKind::checkBox,
                                       .text = option,
                                       .bounds = {7, 40, 247, 50}});
    definition.controls.push_back({.id = IDOK,
                                   .kind = ControlKind::pushButton,
                                   .text = L"&Yes",
                                   .bounds = {143, height - 21, 193, height - 7}});
    definition.controls.push_back({.id = IDCANCEL,
                                   .kind = ControlKind::pushButton,
                                   .text = L"&No",
                                   .bounds = {197, height - 21, 247, height - 7},
                                   .defaultButton = true});
    return definition;
}

DialogTemplate folderNameTemplate(int id, const wchar_t* caption, const wchar_t* label,
                                  int comboId) {
    return {id,
            caption,
            215,
            71,
            {
                {.kind = ControlKind::staticText, .text = label, .bounds = {7, 9, 40, 17}},
                {.id = comboId, .kind = ControlKind::comboBox, .bounds = {44, 7, 208, 90}},
                {.id = IDOK,
                 .kind = ControlKind::pushButton,
                 .text = L"OK",
                 .bounds = {104, 50, 154, 64},
                 .defaultButton = true},
                {.id = IDCANCEL,
                 .kind = ControlKind::pushButton,
                 .text = L"Cancel",
                 .bounds = {158, 50, 208, 64}},
            }};
}

}  // namespace

DialogTemplate categoryDeleteTemplate() {
    return confirmTemplate(
        235, L"Confirm Delete Category", 79,
        L"Are you sure you want to remove the category '#name#' and all its items?",
        L"Delete Subcategory");
}

DialogTemplate folderDeleteTemplate() {
    return confirmTemplate(234, L"Confirm Delete Folder", 79,
                           L"Are you sure you want to delete the folder '#name#'?",
                           L"And all its items");
}

DialogTemplate siteDeleteTemplate() {
    return confirmTemplate(236, L"Confirm Delete Site", 70,
                           L"Are you sure you want to remove the site '#name#' and all its items?",
                           nullptr);
}

DialogTemplate folderNewTemplate() {
    return folderNameTemplate(230, L"Create New Folder", L"&Folder:", kFolderNewCombo);
}

DialogTemplate folderRenameTemplate() {
    return folderNameTemplate(231, L"Rename", L"&Name:", kFolderRenameCombo);
}

DialogTemplate selectTemplate() {
    return {243,
            L"Select",
            316,
            185,
            {
                {.id = kSelectList, .kind = ControlKind::listBox, .bounds = {7, 7, 309, 156}},
                {.id = IDOK,
                 .kind = ControlKind::pushButton,
                 .text = L"OK",
                 .bounds = {205, 164, 255, 178},
                 .defaultButton = true},
                {.id = IDCANCEL,
                 .kind = ControlKind::pushButton,
                 .text = L"Cancel",
                 .bounds = {259, 164, 309, 178}},
            }};
}

DialogTemplate simpleSaveTemplate() {
    return {
        241,
        L"Save",
        269,
        165,
        {
            {.kind = ControlKind::staticText, .text = L"&Title:", .bounds = {7, 9, 47, 17}},
            {.id = kTitleEdit, .kind = ControlKind::edit, .bounds = {50, 7, 206, 21}},
            {.id = kSelectButton,
             .kind = ControlKind::pushButton,
             .text = L"Select...",
             .bounds = {210, 7, 262, 21}},
            {.kind = ControlKind::staticText, .text = L"&Folder:", .bounds = {7, 28, 47, 36}},
            {.id = kFolderCombo, .kind = ControlKind::comboBox, .bounds = {50, 26, 262, 100}},
            {.kind = ControlKind::staticText, .text = L"&Category:", .bounds = {7, 47, 47, 55}},
            {.id = kCategoryCombo, .kind = ControlKind::comboBox, .bounds = {50, 45, 262, 120}},
            {.kind = ControlKind::staticText, .text = L"Ta&gs:", .bounds = {7, 66, 47, 74}},
            {.id = kTagsEdit, .kind = ControlKind::edit, .bounds = {50, 64, 262, 78}},
            {.kind = ControlKind::staticText, .text = L"&Description:", .bounds = {7, 85, 47, 93}},
            {.id = kDescriptionEdit, .kind = ControlKind::edit, .bounds = {50, 83, 262, 97}},
            {.kind = ControlKind::groupBox, .bounds = {7, 101, 262, 123}},
            {.id = kAppendRadio,
             .kind = ControlKind::radioButton,
             .text = L"Append",
             .bounds = {14, 109, 80, 119},
             .disabled = true,
             .groupStart = true},
            {.id = kOverwriteRadio,
             .kind = ControlKind::radioButton,
             .text = L"Overwrite",
             .bounds = {90, 109, 160, 119},
             .disabled = true},
            {.id = kCreateRadio,
             .kind = ControlKind::radioButton,
             .text = L"Create",
             .bounds = {170, 109, 240, 119},
             .disabled = true},
            {.id = IDOK,
             .kind = ControlKind::pushButton,
             .text = L"OK",
             .bounds = {158, 144, 208, 158},
             .defaultButton = true},
            {.id = IDCANCEL,
             .kind = ControlKind::pushButton,
             .text = L"Cancel",
             .bounds = {212, 144, 262, 158}},
        }};
}

}  // namespace plugin
