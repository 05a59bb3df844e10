#pragma once
// Engine services for programs that drive the engine without a user: no alerts, no resources, no
// dialogs, and an event pump that lets nothing run.
#include "core/engine/wallpaper_engine.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Quiet : lumora::MessageSink, lumora::EventPump, lumora::Resources, lumora::Dialogs {
    void showMessage(const std::string&) override {}
    void processEvents() override {}
    std::vector<std::uint8_t> bytes(const std::string&) const override { return {}; }
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t>) override { return {}; }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return {};
    }
    void messageBox(const std::string&, const std::string&, lumora::MessageIcon) override {}
};
