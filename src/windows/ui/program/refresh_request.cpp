#include "windows/ui/program/refresh_request.h"

#include "windows/ui/window/window.h"

namespace lumora {

namespace {

// A message-only window that takes the reason of a failed refresh.
class ReplyWindow : public Window {
public:
    bool build() {
        WindowSpec spec;
        spec.style = 0;
        spec.owner = HWND_MESSAGE;
        return create(spec);
    }
    std::string reason;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (data != nullptr && data->dwData == kRefreshReason && data->lpData != nullptr) {
                reason.assign(static_cast<const char*>(data->lpData), data->cbData);
                return TRUE;
            }
            return FALSE;
        }
        return Window::onMessage(message, wParam, lParam);
    }
};

} // namespace

UINT refreshMessage() {
    static const UINT message = RegisterWindowMessageW(L"Lumora.Refresh");
    return message;
}

HWND runningProgramWindow(const wchar_t* title) {
    return FindWindowW(L"LumoraWindow", title);
}

RefreshReply askRunningProgramToRefresh(const wchar_t* title) {
    HWND target = runningProgramWindow(title);
    if (target == nullptr) {
        return {};
    }
    ReplyWindow reply;
    reply.build();
    // A large picture takes a while to draw; the request waits for it. While it waits, the
    // reason sent back is taken (SMTO_NORMAL lets sent messages in).
    constexpr UINT kReplyTimeoutMs = 120000;
    DWORD_PTR answer = 0;
    const LRESULT sent =
        SendMessageTimeoutW(target, refreshMessage(), reinterpret_cast<WPARAM>(reply.hwnd()), 0,
                            SMTO_NORMAL, kReplyTimeoutMs, &answer);
    if (sent == 0) {
        return {RefreshReply::Status::Failed, "the running Lumora did not answer"};
    }
    if (static_cast<LRESULT>(answer) == kRefreshDone) {
        return {RefreshReply::Status::Done, {}};
    }
    if (static_cast<LRESULT>(answer) != kRefreshFailed) {
        return {RefreshReply::Status::Failed, "the running Lumora did not answer"};
    }
    return {RefreshReply::Status::Failed, reply.reason};
}

LRESULT answerRefresh(HWND replyTo, bool done, const std::string& reason) {
    if (!done && replyTo != nullptr && !reason.empty()) {
        COPYDATASTRUCT data{};
        data.dwData = kRefreshReason;
        data.cbData = static_cast<DWORD>(reason.size());
        data.lpData = const_cast<char*>(reason.data());
        SendMessageW(replyTo, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    return done ? kRefreshDone : kRefreshFailed;
}

} // namespace lumora
