#pragma once

#include <set>
#include <string>
#include <vector>

// What one drop has fetched so far, shared by the processing of everything it brought in: a
// menu plan that links to itself, or plans linking to each other, end here. URLs and titles
// are ANSI; URLs are compared exactly.
namespace kovanta {

class DropContext {
public:
    // Files one drop may fetch, the dropped link and all links reached from it together.
    static constexpr int kMaxFiles = 500;

    // `generation`: the import's cancel count when the drop came (ImportCore::cancelImports).
    explicit DropContext(unsigned generation) : generation_(generation) {}

    unsigned generation() const { return generation_; }
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    enum class Admission { Fetch, Skip, Listed, OverLimit, FirstOverLimit };
    // Whether `url` is fetched now: not after a cancel, not twice, not when a line of the list
    // came from it (`listedTitle` non-null: its title; it is named in endStatus()), not beyond
    // kMaxFiles (FirstOverLimit the first time, for one message).
    Admission admit(const std::string& url, const std::string* listedTitle);
    // "Drag&Drop Internetrezepten", or which links were not fetched again because they are
    // listed: "Bereits in der Liste: Titel (link) und 2 weitere Verweise".
    std::string endStatus() const;

private:
    unsigned generation_;
    bool cancelled_ = false;
    std::set<std::string> urls_;
    int files_ = 0;
    bool limitReported_ = false;
    std::vector<std::string> alreadyListed_; // "title (link)", or the link without a title
};

} // namespace kovanta
