// The staged plugin.so loaded as a host loads it (dlopen from <stage>/data/plugins/tamrix,
// exports looked up by name), inside a throw-away home, with a scripted presenter that
// answers its dialogs and message boxes.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "platform/system/module.h"
#include "platform/text/utf.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "plugin/module/plugin_interface.h"
#include "plugin/repository/repository.h"
#include "testing/environment/temporary_home.h"

class LoadedModuleTest : public ::testing::Test {
  protected:
    static std::string modulePath() {
        return std::string(TAMRIX_STAGE_DIR) + "/data/plugins/tamrix/plugin.so";
    }

    std::filesystem::path repositoryFile() const {
        return home_.dataHome() / "Olvan" / "Tamrix" / "tamrix.db";
    }

    void load() {
        ASSERT_TRUE(module_.open(modulePath())) << module_.error();
        newPlugin = module_.function<plugin::NewPluginFunction>(plugin::kNewPluginExport);
        deletePlugin = module_.function<plugin::DeletePluginFunction>(plugin::kDeletePluginExport);
        newPlugin2 = module_.function<plugin::NewPlugin2Function>(plugin::kNewPlugin2Export);
        deletePlugin2 =
            module_.function<plugin::DeletePlugin2Function>(plugin::kDeletePlugin2Export);
        ASSERT_TRUE(newPlugin && deletePlugin && newPlugin2 && deletePlugin2);
    }

    void TearDown() override {
        plugin::closeRepository();
        module_.close();
    }

    // One "datastore" object for one save, as the add-on makes it.
    struct Save {
        int result = 0;
        bool handled = false;
    };
    Save save(const std::wstring& url, const std::wstring& title, const std::wstring& text) {
        Save outcome;
        plugin::IPluginInterface2* datastore = newPlugin2(L"datastore");
        if (!datastore) {
            ADD_FAILURE() << "no datastore object";
            return outcome;
        }
        EXPECT_TRUE(datastore->HasEvent(L"OnSave"));
        outcome.result =
            datastore->OnSave(url, title, L"", text, L"<p>" + text + L"</p>", &outcome.handled);
        deletePlugin2(datastore);
        return outcome;
    }

    testing_environment::TemporaryHome home_;
    std::shared_ptr<platform::ui::ScriptedPresenter> presenter_ =
        std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope_{presenter_};
    platform::system::Module module_;
    plugin::NewPluginFunction* newPlugin = nullptr;
    plugin::DeletePluginFunction* deletePlugin = nullptr;
    plugin::NewPlugin2Function* newPlugin2 = nullptr;
    plugin::DeletePlugin2Function* deletePlugin2 = nullptr;
};
