#pragma once

#include "webimport/importcore.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Recipe pages and a recording window for the import tests.
namespace importtest {

// A published recipe page: the recipe file lines as <LIVE-DATEN> lines inside some markup.
// Line 4 carries the name in columns 1-20.
inline std::string recipePage(const std::string& name, const std::string& group = "Hauptgerichte")
{
    std::string name20 = name.substr(0, 20);
    name20.resize(20, ' ');
    const std::vector<std::string> lines = {"06.12.2026", "Kantine Am Hafen", "Mittagessen",
                                            name20 + "7", group, "Zubereitung", "", "10", "",
                                            "45", "15", "512", "2140", "3", "70",
                                            "*     1000       100", "^^"};
    std::string page = "<html><body><h1>" + name + "</h1><pre>\r\n";
    for (const std::string& l : lines)
        page += "<LIVE-DATEN>" + l + "\r\n";
    return page + "</pre></body></html>\r\n";
}

// The recipe file recipePage() turns into (ASCII names only).
inline std::string recipeFileOf(const std::string& page)
{
    std::string out;
    std::size_t at = 0;
    while ((at = page.find("<LIVE-DATEN>", at)) != std::string::npos) {
        at += 12;
        const std::size_t end = page.find("\r\n", at);
        out += page.substr(at, end - at) + "\r\n";
        at = end;
    }
    return out;
}

// A menu plan page: one <LIVE-REZEPT> line per link value.
inline std::string planPage(const std::vector<std::string>& links)
{
    std::string page = "<html><body><h1>Speiseplan</h1>\r\n<LIVE-INFO>Speiseplan\r\n";
    for (const std::string& l : links)
        page += "<LIVE-REZEPT>" + l + "\r\n";
    return page + "</body></html>\r\n";
}

// The window as a list of what the import did to it. Posted MSG_IMPORT_FILE are counted and
// worked off by drain(), with the fetches, as the event queue would.
class RecordingView : public kovanta::ImportView {
public:
    kovanta::ImportCore* core = nullptr;
    kovanta::BlockingFetchRunner* runner = nullptr;
    std::vector<std::string> titles;
    bool listShown = false;
    int selectAllCalls = 0;
    std::vector<std::string> statuses;
    std::vector<std::string> messages;
    std::vector<std::pair<int, bool>> notifications;
    std::vector<std::string> questions;
    bool notifyWindow = true;
    bool answerYes = false;
    int posted = 0;
    std::function<void()> onRepaint;

    void lineAdded(std::size_t index) override
    {
        titles.insert(titles.begin() + static_cast<std::ptrdiff_t>(index),
                      core->line(index).Title);
    }
    void lineRemoved(std::size_t index) override
    {
        titles.erase(titles.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void lineChanged(std::size_t index) override { titles.at(index) = core->line(index).Title; }
    void setListShown(bool shown) override { listShown = shown; }
    void selectAllLines() override { ++selectAllCalls; }
    void setStatusText(const std::string& text) override
    {
        // Progress texts repeat the status with a byte count; only the status itself counts.
        if (statuses.empty() || statuses.back() != text)
            statuses.push_back(text);
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text, const std::string&) override
    {
        questions.push_back(text);
        return answerYes;
    }
    void postImportFile() override { ++posted; }
    bool hasNotifyWindow() const override { return notifyWindow; }
    void notify(int kind, bool waitHandled) override { notifications.push_back({kind, waitHandled}); }
    void repaint() override
    {
        if (onRepaint)
            onRepaint();
    }

    // Runs what the import asked for: fetches and pauses, and the queued MSG_IMPORT_FILE.
    void drain() { kovanta::runImportToEnd(*core, *runner, posted); }
};

} // namespace importtest
