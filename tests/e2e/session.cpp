#include "session.h"

namespace e2e {

Session::Session(XServer &server, const TestDrawer &drawer) : server_(server), drawer_(drawer) {}

Session::~Session() {
    process_.Kill();
}

bool Session::Start() {
    Environment environment =
        drawer_.ProgramEnvironment(server_.ClientEnvironment(CurrentEnvironment()));
    process_ =
        Process({drawer_.program().string()}, SpawnOptions{environment, drawer_.root().string(),
                                                           drawer_.outputFile().string(), -1});
    if (!process_.started())
        return false;
    window_ = server_.WaitForWindow(process_.pid(), std::chrono::seconds(10));
    return window_ != 0;
}

QImage Session::Grab() {
    return server_.Grab(window_);
}

bool Session::Key(const std::string &key) {
    const std::string id = std::to_string(window_);
    return server_.Xdo({"windowfocus", "--sync", id}) && server_.Xdo({"key", key});
}

bool Session::Click(int x, int y) {
    const std::string id = std::to_string(window_);
    // No --sync: it waits for a motion that never comes when the pointer is
    // already there. The server takes the motion before the click anyway.
    return server_.Xdo(
        {"mousemove", "--window", id, std::to_string(x), std::to_string(y), "click", "1"});
}

void Session::Close() {
    server_.SendCloseRequest(window_);
}

std::optional<int> Session::WaitForExit(std::chrono::milliseconds timeout) {
    return process_.Wait(timeout);
}

std::string Session::Output() const {
    return ReadFile(drawer_.outputFile());
}

} // namespace e2e
