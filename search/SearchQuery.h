#pragma once

#include <string>
#include <string_view>

// Spaces become "+", then double quotes "%22"; every other byte goes into the URL as it is.
std::string EncodeQueryText(std::string_view text);

// The forum signature picked by cbxType's index, double quotes included; empty for any other index.
std::string FootprintForType(int typeIndex);

// cbxItems's index to the item limit: 100 per step, 0 ("All Items") for no limit.
int ItemLimitForIndex(int itemsIndex);

// "http://" host "/search?q=%22" keyword "%22+" footprint "&num=100&start=" 100 x pageIndex, with
// keyword and footprint already encoded.
std::string ResultPageUrl(std::string_view host, std::string_view encodedKeyword,
                          std::string_view encodedFootprint, int pageIndex);
