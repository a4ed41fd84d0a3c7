#pragma once

#include "net/HttpClient.h"
#include "util/RequestFields.h"

namespace mirel {

// Copies the properties that hold a value onto the client; the others stay as they are.
void setRequestFields(THttpClient &client, const RequestFields &fields);

} // namespace mirel
