#include "sites/core/RequestArrival.h"

namespace mirel::siteserver {
namespace {

// The library hands a handler no context of its own: the worker thread that serves a
// connection carries its times.
thread_local std::optional<Clock::time_point> t_accepted;
thread_local Clock::time_point t_arrival;

} // namespace

void noteConnectionAccepted(std::optional<Clock::time_point> accepted)
{
    t_accepted = accepted;
}

void markRequestArrival()
{
    t_arrival = t_accepted.value_or(Clock::now());
    t_accepted.reset();
}

Clock::time_point requestArrival()
{
    return t_arrival == Clock::time_point{} ? Clock::now() : t_arrival;
}

} // namespace mirel::siteserver
