#pragma once

#include "sites/gateway/TranslationGateway.h"
#include "sites/local/GlossaryRows.h"
#include "sites/setup/SiteOptions.h"

#include <string>
#include <utility>
#include <vector>

namespace mirel::siteserver {

class ApertiumBackend;

struct AssembledBackends
{
    ApertiumBackend *apertium = nullptr; // owned by the gateway; null when there is none
    // Services that are set up but could not be added (name, why), for the status page.
    std::vector<std::pair<std::string, std::string>> leftOut;
};

// Adds to the gateway OpenCC first (when its data is there), then the services that are
// set up in the order of the "order" setting, Apertium, the glossary last, and names each
// engine's own vendor. Throws std::invalid_argument for a bad address or an unknown name
// in "order".
AssembledBackends assembleBackends(TranslationGateway &gateway, const SiteOptions &options,
                                   const GlossaryRows &glossary);

} // namespace mirel::siteserver
