#pragma once

// The dispatch ids of the host automation server's members that the plug-in
// calls, by object. "get" reads a property, "put" writes one, "call" calls a
// method; texts pass as 8-bit strings, integers as 32-bit values, objects as
// dispatch pointers (item reads give a variant holding one).

#include <cstdint>

namespace tavi::host_members {

using DispatchId = std::int32_t;

// The second argument the host expects with every look-up or creation by
// name or number.
inline constexpr std::int32_t kLookupOption = 1;

// The application object, created from the program id "Eudora.EuApplication.1".
namespace application {
inline constexpr DispatchId kTopLevel = 3;       // get: the top-level item collection
inline constexpr DispatchId kStatusText = 15;    // put text: shown in the status bar
inline constexpr DispatchId kItemByName = 27;    // call (name, 1): item, or null
inline constexpr DispatchId kItemByNumber = 28;  // call (number, 1): item, or null
// call (six texts): a new outgoing message; the second is the subject, the
// fifth a file to attach (empty for none), the sixth the body; the others are
// empty.
inline constexpr DispatchId kNewMessage = 29;
}  // namespace application

// An item collection: the top level, or the children of a folder.
namespace collection {
inline constexpr DispatchId kItem = 0;           // get (index from 1): variant with an item
inline constexpr DispatchId kCount = 1;          // get: number of items
inline constexpr DispatchId kCreateMailbox = 3;  // call (name, 1): creates a mailbox here
}  // namespace collection

// An item: a mailbox or a folder.
namespace item {
inline constexpr DispatchId kIsMailbox = 1;  // get: non-zero for a mailbox
inline constexpr DispatchId kIsFolder = 2;   // get: non-zero for a folder
inline constexpr DispatchId kHidden = 4;     // get: 1 for items left out of the lists shown
inline constexpr DispatchId kChildren = 6;   // get: a folder's item collection
inline constexpr DispatchId kPath = 7;       // get: the ".mbx" file, or the ".fol" folder
inline constexpr DispatchId kNumber = 8;     // get: the number application::kItemByNumber takes
inline constexpr DispatchId kMessages = 10;  // get: a mailbox's message collection
inline constexpr DispatchId kName = 11;      // get: the display name
inline constexpr DispatchId kOpen = 15;      // call: opens the mailbox in a host window
}  // namespace item

// A message collection.
namespace messages {
inline constexpr DispatchId kItem = 0;   // get (index from 1): variant with a message
inline constexpr DispatchId kCount = 1;  // get: number of messages
}  // namespace messages

// A message.
namespace message {
inline constexpr DispatchId kBody = 3;              // get: the body
inline constexpr DispatchId kField = 7;             // get (field number): a field's text
inline constexpr DispatchId kValue = 8;             // get: passed on with new-article notices
inline constexpr DispatchId kText = 10;             // get: the whole text, header block first
inline constexpr DispatchId kState = 13;            // put 0 before the message is moved
inline constexpr DispatchId kSummary = 14;          // get: a short text for the progress line
inline constexpr DispatchId kMoveTo = 16;           // call (target mailbox): moves the message
inline constexpr std::int32_t kMessageIdField = 8;  // the field argument of kField
inline constexpr std::int32_t kStateBeforeMove = 0;
}  // namespace message

}  // namespace tavi::host_members
