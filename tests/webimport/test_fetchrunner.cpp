// Fetches on a worker thread: the waiting caller sees progress and can cancel.
#include "importtestsupport.h"
#include "scriptedserver.h"
#include "support/testdir.h"
#include "webimport/fetchrunner.h"
#include "webimport/importcore.h"
#include "webimport/tcpip.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kovanta;

namespace {

// A caller that records its idle calls and may cancel on the first one.
class Host : public FetchWaitHost {
public:
    ThreadedFetchRunner* runner = nullptr;
    bool cancelOnIdle = false;
    int started = 0, idles = 0, ended = 0;

    void waitStarted() override { ++started; }
    void waitIdle() override
    {
        ++idles;
        if (cancelOnIdle)
            runner->cancel();
    }
    void waitEnded() override { ++ended; }
};

const std::string kHead = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

std::string local(std::uint16_t port, const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

void shortTimeouts(T_HTTP& http)
{
    http.ConnectTimeoutMs = 5000;
    // Long enough that only a working cancel ends the quiet fetches below in time.
    http.ReceiveTimeoutMs = 30000;
}

} // namespace

TEST(ThreadedFetch, ReportsTheBodyAsItArrivesAndEndsWithTheWholeAnswer)
{
    const std::string part(20000, 'x');
    ScriptedServer server({ScriptedServer::answer(kHead),
                           [&](ScriptedServer& s, int fd, const std::string&) {
                               s.sendAll(fd, kHead + part);
                               for (int i = 0; i < 2 && !s.stopping(); ++i) {
                                   std::this_thread::sleep_for(std::chrono::milliseconds(150));
                                   s.sendAll(fd, part);
                               }
                           }});
    Host host;
    ThreadedFetchRunner runner(host);
    host.runner = &runner;
    std::vector<std::size_t> progress;
    const FetchOutcome outcome = runner.fetch(local(server.port(), "/r1.htm"), shortTimeouts,
                                              [&](std::size_t bytes) { progress.push_back(bytes); });
    EXPECT_EQ(outcome.kind, FetchOutcome::Answer);
    EXPECT_EQ(outcome.statusCode, 200);
    EXPECT_EQ(outcome.body, part + part + part);
    EXPECT_GT(host.idles, 0);
    EXPECT_EQ(host.started, 1);
    EXPECT_EQ(host.ended, 1);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_LT(progress.front(), outcome.body.size());
}

// Esc in every state of a fetch: the runner, and with it the program, never waits for the
// network after it.
TEST(ThreadedFetch, CancelEndsEveryWaitAtOnce)
{
    ScriptedServer server({[](ScriptedServer& s, int fd, const std::string&) { s.stayQuiet(fd); }});
    BlockingResolver slow;
    const std::string states[] = {local(server.port(), "/still.htm"), "http://kueche.test/r1.htm"};
    for (const std::string& url : states) {
        Host host;
        auto runner = std::make_unique<ThreadedFetchRunner>(host);
        host.runner = runner.get();
        host.cancelOnIdle = true;
        const FetchOutcome outcome = runner->fetch(
            url,
            [&](T_HTTP& http) {
                shortTimeouts(http);
                http.HostResolver = slow.resolver();
            },
            {});
        EXPECT_EQ(outcome.kind, FetchOutcome::Cancelled) << url;
        EXPECT_EQ(outcome.url, url);
        EXPECT_EQ(host.ended, 1);
        EXPECT_FALSE(runner->waiting());
        runner.reset(); // joins the worker
    }
    EXPECT_EQ(slow.returned(), 0) << "the lookup is left to its own thread";

    Host host;
    ThreadedFetchRunner runner(host);
    host.runner = &runner;
    host.cancelOnIdle = true;
    // A pause is cancelled the same way.
    EXPECT_FALSE(runner.pause(60000));
    // Cancelling without a running fetch changes nothing.
    host.cancelOnIdle = false;
    runner.cancel();
    EXPECT_TRUE(runner.pause(1));
}

TEST(ThreadedFetch, EscDuringAnImportIsAFailedFetchWithoutMessage)
{
    const auto quiet = [](ScriptedServer& s, int fd, const std::string&) { s.stayQuiet(fd); };
    ScriptedServer server({quiet, quiet, quiet});
    TestDir dir;
    Host host;
    ThreadedFetchRunner runner(host);
    host.runner = &runner;
    host.cancelOnIdle = true;
    importtest::RecordingView view;
    ImportCore core(view, runner);
    view.core = &core;
    core.ImportDir = dir.dir();
    core.configureClient = shortTimeouts;
    EXPECT_EQ(core.drop(local(server.port(), "/still.htm"), "Still"),
              ImportCore::DropResult::Fetched);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(core.lineCount(), 0u);
    EXPECT_EQ(view.statuses.back(), kStatusIdle);
    EXPECT_EQ(server.requests().size(), 1u) << "no repetition after Esc";
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    // Without Esc, the attempts share one fetch budget: a page that never answers is not
    // asked three times for the whole time each.
    host.cancelOnIdle = false;
    core.retryDelayMs = 0;
    core.configureClient = [](T_HTTP& http) {
        shortTimeouts(http);
        http.FetchTimeoutMs = 300;
    };
    core.drop(local(server.port(), "/still2.htm"), "Still");
    EXPECT_EQ(server.requests().size(), 2u);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.messages[0].starts_with(std::string(kMsgRequestFailed) + "\n")) << view.messages[0];
}
