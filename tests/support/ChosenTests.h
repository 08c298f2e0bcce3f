#pragma once
// The run of a test program's cases, for every main of the test programs: an entry that picks its
// cases with a filter (or a shard) would otherwise pass having tested nothing once a case is
// renamed.

namespace ChosenTests
{
// Runs the cases that testing::InitGoogleTest chose. Fails (1) when a pattern of the filter chooses
// no case of this program, in any shard, and when this run ran no case at all (saying which shard
// when the run is one); otherwise returns what RUN_ALL_TESTS returned.
int RunAll();
} // namespace ChosenTests
