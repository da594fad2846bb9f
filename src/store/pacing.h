#pragma once

// The fixed waits of Tavi's design. Each one gives a real host time to index
// a mailbox or to start a thread; the host that loads the plug-in chooses the
// pacing, and the stand-in host, which indexes synchronously, runs with none.

#include <chrono>

namespace tavi {

struct Pacing {
  using Wait = std::chrono::milliseconds;

  Wait after_staging_step{200};          // after emptying or creating "Pending"
  Wait after_opening_mailbox{200};       // after the host opens a mailbox window
  Wait after_collecting_ids{200};        // after reading the newsbox's Message-Ids
  Wait after_deleting_feed_file{100};    // after removing a stale feed document
  Wait per_element{10};                  // after every element of a feed walk
  Wait at_end_of_check{25};              // when a feed check ends
  Wait after_deleting_article_file{25};  // after removing a fetched full article
  Wait download_thread_start{20};        // before posting to a new download thread

  // The designed values above.
  static Pacing Designed() { return {}; }
  // Every wait zero.
  static Pacing None();
};

// The pacing in force, process-wide; Designed() until SetPacing is called.
Pacing CurrentPacing();
void SetPacing(const Pacing& pacing);

// Waits for one of the current pacing's waits, through the platform sleeper.
void PaceWait(Pacing::Wait Pacing::*wait);

}  // namespace tavi
