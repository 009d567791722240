#pragma once

#include "platform/data/Table.h"

#include <functional>
#include <memory>

// A table T (A: the key, V) opened afresh, empty or not, on the road tested.
using OpenTableT = std::function<std::unique_ptr<Table>()>;

// A bookmark taken on a record keeps marking it through a change of its key,
// and not another record added later under a key it once had; checked on
// the dataset that made it and on another one.
void ExpectBookmarksFollowTheirRecordThroughKeyEdits(const OpenTableT& open);
