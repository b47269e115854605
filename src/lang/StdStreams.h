// Registration of the stream classes (TStream, THandleStream, TFileStream, TStringStream, TCustomMemoryStream,
// TMemoryStream, TResourceStream), of TParser, and of the TStrings members that use files and streams.
#pragma once

#include "lang/HostTable.h"

namespace pelo::lang {

void registerStreams(HostTable& table, HostClass& strings);

}  // namespace pelo::lang
