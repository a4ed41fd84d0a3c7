#pragma once

#include "sites/core/Clock.h"
#include "sites/gateway/Translation.h"
#include "sites/http/RequestPacer.h"
#include "sites/languages/PassageSplit.h"

#include <functional>
#include <string_view>

namespace mirel::siteserver {

// How a keyless service takes a passage: pieces of at most pieceLimit (in its measure),
// at most one request per pacer interval.
struct KeylessLimits
{
    size_t pieceLimit;
    TextMeasure measure;
};

// Translates a passage through one keyless service: cut into pieces at line and sentence
// ends, each piece's core asked in turn (waiting its turn at the service's pace, within
// the deadline) and put back with the blanks around it. An empty translation of a piece,
// or the whole passage given back untranslated, is a failure, never a translation.
using KeylessAsk = std::function<Translation(std::string_view core)>;
Translation translateKeyless(std::string_view service, std::string_view utf8,
                             const KeylessLimits &limits, RequestPacer &pacer,
                             Clock::time_point deadline, const KeylessAsk &ask);

} // namespace mirel::siteserver
