#include "platform/automation.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavi::platform {
namespace {

constexpr const char* kProgramId = "Eudora.EuApplication.1";

// An object that answers member 15 and fails every other member with its own
// text, recording the last arguments it was given.
class StatusObject : public DispatchObject {
 public:
  InvokeResult Invoke(std::int32_t dispatch_id, InvokeKind kind,
                      const std::vector<Variant>& arguments) override {
    if (dispatch_id != 15) return InvokeResult::Failure("Member not found.");
    last_kind = kind;
    last_arguments = arguments;
    return InvokeResult::Value(kind == InvokeKind::kGet ? Variant("Ready") : Variant());
  }

  InvokeKind last_kind = InvokeKind::kCall;
  std::vector<Variant> last_arguments;
};

class AutomationRegistry : public ::testing::Test {
 protected:
  void TearDown() override { UnregisterAutomationClass(kProgramId); }
};

TEST_F(AutomationRegistry, CreatesObjectsOnlyWhileTheirClassIsRegistered) {
  InvokeResult missing = CreateAutomationObject(kProgramId);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.error, "Invalid class string");

  auto object = std::make_shared<StatusObject>();
  int created = 0;
  RegisterAutomationClass(kProgramId, [&] {
    ++created;
    return InvokeResult::Value(DispatchPtr(object));
  });
  InvokeResult found = CreateAutomationObject(kProgramId);
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.value.AsObject(), object);
  // Program ids are found regardless of case, as the system finds them.
  EXPECT_TRUE(CreateAutomationObject("eudora.euapplication.1").ok);
  EXPECT_EQ(created, 2);

  UnregisterAutomationClass(kProgramId);
  EXPECT_EQ(CreateAutomationObject(kProgramId).error, kInvalidClassString);
}

TEST_F(AutomationRegistry, AFailingFactoryGivesItsOwnErrorText) {
  RegisterAutomationClass(kProgramId, [] {
    return InvokeResult::Failure("Automation is disabled in the host's options.");
  });
  const InvokeResult result = CreateAutomationObject(kProgramId);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "Automation is disabled in the host's options.");
  EXPECT_TRUE(result.value.IsEmpty());
}

TEST(DispatchObject, ShorthandsPassArgumentsAndHideFailures) {
  StatusObject object;
  EXPECT_TRUE(object.Put(15, "Tavi. For Help, press F1."));
  EXPECT_EQ(object.last_kind, InvokeKind::kPut);
  ASSERT_EQ(object.last_arguments.size(), 1u);
  EXPECT_EQ(object.last_arguments[0].AsText(), "Tavi. For Help, press F1.");

  EXPECT_EQ(object.Get(15, {8}).AsText(), "Ready");
  EXPECT_EQ(object.last_arguments[0].AsInteger(), 8);

  EXPECT_FALSE(object.Put(3, 0));
  EXPECT_TRUE(object.Get(3).IsEmpty());
  EXPECT_TRUE(object.Call(3).IsEmpty());
}

TEST(Variant, ConvertsAsAutomationDoes) {
  struct Case {
    const char* name;
    Variant value;
    std::int32_t integer;
    std::string text;
  };
  const Case cases[] = {
      {"integer", 42, 42, "42"},
      {"negative integer", -7, -7, "-7"},
      {"text of digits", "123", 123, "123"},
      {"blanks around the number", " 12 ", 12, " 12 "},
      {"plus sign", "+5", 5, "+5"},
      {"text with trailing letters", "12abc", 0, "12abc"},
      {"text that is not a number", "Pending", 0, "Pending"},
      {"too large for 32 bits", "4294967296", 0, "4294967296"},
      {"empty text", "", 0, ""},
      {"empty", Variant(), 0, ""},
      {"null", NullValue{}, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.AsInteger(), c.integer);
    EXPECT_EQ(c.value.AsText(), c.text);
    EXPECT_EQ(c.value.AsObject(), nullptr);
  }
  EXPECT_TRUE(Variant(NullValue{}).IsNull());
  EXPECT_FALSE(Variant(NullValue{}).IsEmpty());
  EXPECT_TRUE(Variant(DispatchPtr()).IsObject());
}

}  // namespace
}  // namespace tavi::platform
