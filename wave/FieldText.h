#pragma once

#include <string>
#include <string_view>

#include "wave/ChunkLayout.h"
#include "wave/FieldCodecs.h"
#include "wave/TextCodec.h"

namespace wave {

// Why a fixed-width text slot is not NUL-padded text of the character set
// ("has bytes after its first NUL", ...); empty when it is.
std::string TextFault(ConstBytes data, Field field, Charset charset);

// An empty or all-blank field: "not set".
bool IsUnset(std::string_view text);

// "yyyy?mm?dd" with each "?" one of the separators, naming a real day.
bool ReadsAsDate(std::string_view text, std::string_view separators);
// "hh?mm?ss" with each "?" one of the separators, a real time of day.
bool ReadsAsTime(std::string_view text, std::string_view separators);

}  // namespace wave
