#ifndef TAGSTRIP_REMOTE_LINK_TRACKING_H
#define TAGSTRIP_REMOTE_LINK_TRACKING_H

#include <string>
#include <string_view>

// Whether a link address carries a well-known tracking parameter (utm_* and the click
// identifiers of the large ad and mail services) in its query.
bool HasTrackingParameters(std::string_view address);

// The address without those parameters; scheme, host, path, the other parameters in
// their order and the fragment stay exactly as they were. A query left empty goes with
// its "?".
std::string WithoutTrackingParameters(std::string_view address);

#endif
