#include "webimport/dropcontext.h"

#include "webimport/importview.h"

namespace kovanta {

DropContext::Admission DropContext::admit(const std::string& url, const std::string* listedTitle)
{
    if (cancelled_ || urls_.count(url) != 0)
        return Admission::Skip;
    if (listedTitle) {
        // Fetching it again would store and list the same recipe once more.
        alreadyListed_.push_back(listedTitle->empty() ? url : *listedTitle + " (" + url + ")");
        return Admission::Listed;
    }
    if (files_ >= kMaxFiles) {
        const bool first = !limitReported_;
        limitReported_ = true;
        return first ? Admission::FirstOverLimit : Admission::OverLimit;
    }
    urls_.insert(url);
    ++files_;
    return Admission::Fetch;
}

std::string DropContext::endStatus() const
{
    if (alreadyListed_.empty())
        return kStatusIdle;
    std::string text = kStatusAlreadyListed + alreadyListed_.front();
    if (alreadyListed_.size() == 2)
        text += " und 1 weiterer Verweis";
    else if (alreadyListed_.size() > 2)
        text += " und " + std::to_string(alreadyListed_.size() - 1) + " weitere Verweise";
    return text;
}

} // namespace kovanta
