// Registration of the stream classes (TStream, THandleStream, TFileStream, TStringStream, TCustomMemoryStream,
// TMemoryStream, TResourceStream), of TParser, and of the TStrings members that use files and streams.
#pragma once

#include <string>
#include <string_view>

#include "lang/HostTable.h"

namespace pelo::lang {

void registerStreams(HostTable& table, HostClass& strings);

// For other classes that read and write files and streams as the stream classes do, with the same errors: a
// whole file, and the rest of a stream argument from its position (writing at its position).
std::string readScriptFile(std::string_view name);
void writeScriptFile(std::string_view name, const std::string& bytes);
std::string readStreamArg(CallCtx& c, int k);
void writeStreamArg(CallCtx& c, int k, const std::string& bytes);

}  // namespace pelo::lang
