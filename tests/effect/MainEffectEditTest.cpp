// The main effect between its editor and the host: what an edit in the
// editor tells the host, how "Preset" is described, and host values reaching
// the open editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "AllocationCount.h"
#include "editor/VelkoranEditor.h"
#include "effect/ModuleDirectory.h"
#include "effect/ZrVelkoran.h"
#include "gui/CControl.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "support/RecordingHost.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

namespace {

const std::vector<ZipFixtureMember> kThreeSounds{
    {"clean.xml", "<torvix/>"}, {"crunch.xml", "<torvix/>"}, {"fuzz.xml", "<torvix/>"}};

// A main effect whose host records its requests, on an archive of three
// descriptions unless a test writes none.
class MainEffectEditTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (effect) dispatch(effClose);
    setModuleDirectory("");
  }

  void create(const std::vector<ZipFixtureMember>& members = kThreeSounds) {
    if (!members.empty()) {
      ASSERT_TRUE(writeZipFixture(directory / "a.zip", members));
    }
    hostDirectory = directory.path().string();
    host.answerWith(audioMasterGetDirectory, reinterpret_cast<VstIntPtr>(hostDirectory.c_str()));
    effect = new ZrVelkoran(RecordingHost::callback);
    host.clear();
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    AEffect* record = effect->getAeffect();
    return record->dispatcher(record, opcode, index, value, ptr, 0.0f);
  }

  // What the editor does for one edit that reports one value.
  void editAsTheEditorDoes(VstInt32 index, float value) {
    effect->beginEdit(index);
    effect->setParameterAutomated(index, value);
    effect->endEdit(index);
  }

  // The host requests about edits, as "43 i", "0 i v", "44 i" and "42".
  std::vector<std::string> editRequests() const {
    std::vector<std::string> requests;
    for (const HostRequest& request : host.all()) {
      char text[64];
      switch (request.opcode) {
        case audioMasterAutomate:
          std::snprintf(text, sizeof text, "0 %d %g", static_cast<int>(request.index),
                        static_cast<double>(request.opt));
          break;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
          std::snprintf(text, sizeof text, "%d %d", static_cast<int>(request.opcode),
                        static_cast<int>(request.index));
          break;
        case audioMasterUpdateDisplay:
          std::snprintf(text, sizeof text, "42");
          break;
        default:
          continue;
      }
      requests.emplace_back(text);
    }
    return requests;
  }

  VelkoranEditor& editor() const { return *static_cast<VelkoranEditor*>(effect->getEditor()); }

  TemporaryDirectory directory;
  std::string hostDirectory;
  RecordingHost host;
  ZrVelkoran* effect = nullptr;  // closed through its record
};

// The 152-byte record between guard zones that must stay as they are.
struct GuardedProperties {
  static constexpr std::size_t kGuard = 64;
  static constexpr unsigned char kGuardByte = 0x5a;

  GuardedProperties() { bytes.fill(kGuardByte); }
  void* record() { return bytes.data() + kGuard; }
  VstParameterProperties properties() const {
    VstParameterProperties copy;
    std::memcpy(&copy, bytes.data() + kGuard, sizeof copy);
    return copy;
  }
  bool guardsIntact() const {
    auto isGuard = [](unsigned char byte) { return byte == kGuardByte; };
    return std::all_of(bytes.begin(), bytes.begin() + kGuard, isGuard) &&
           std::all_of(bytes.end() - kGuard, bytes.end(), isGuard);
  }
  bool untouched() const {
    return std::all_of(bytes.begin(), bytes.end(), [](unsigned char byte) { return byte == kGuardByte; });
  }

  alignas(8) std::array<unsigned char, kGuard + sizeof(VstParameterProperties) + kGuard> bytes;
};

TEST_F(MainEffectEditTest, PresetIsDescribedAsTheWholeNumbersOfItsDescriptions) {
  create();
  GuardedProperties guarded;
  ASSERT_EQ(dispatch(effGetParameterProperties, 3, 0, guarded.record()), 1);
  EXPECT_TRUE(guarded.guardsIntact());
  const VstParameterProperties properties = guarded.properties();
  EXPECT_EQ(properties.flags, kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep);
  EXPECT_EQ(properties.minInteger, 0);
  EXPECT_EQ(properties.maxInteger, 2);
  EXPECT_EQ(properties.stepInteger, 1);
  EXPECT_EQ(properties.largeStepInteger, 1);
  EXPECT_STREQ(properties.label, "Preset");
  EXPECT_STREQ(properties.shortLabel, "Preset");
  EXPECT_EQ(properties.categoryLabel[0], '\0');
}

TEST_F(MainEffectEditTest, OnlyPresetHasProperties) {
  create();
  for (VstInt32 index : {-1, 0, 1, 2, 4}) {
    SCOPED_TRACE(index);
    GuardedProperties guarded;
    EXPECT_EQ(dispatch(effGetParameterProperties, index, 0, guarded.record()), 0);
    EXPECT_TRUE(guarded.untouched());
  }
  EXPECT_EQ(dispatch(effGetParameterProperties, 3, 0, nullptr), 0);
}

TEST_F(MainEffectEditTest, WithoutDescriptionsPresetHasNoRange) {
  create({});
  GuardedProperties guarded;
  EXPECT_EQ(dispatch(effGetParameterProperties, 3, 0, guarded.record()), 0);
  EXPECT_TRUE(guarded.untouched());
  editAsTheEditorDoes(3, 0.0f);
  EXPECT_EQ(editRequests(), (std::vector<std::string>{"42"}));
}

struct EditReportCase {
  const char* name;
  VstInt32 index;
  float value;
  bool hostAskedForProperties;
  std::vector<std::string> requests;
};

void PrintTo(const EditReportCase& report, std::ostream* out) { *out << report.name; }

class EditReportTest : public MainEffectEditTest, public ::testing::WithParamInterface<EditReportCase> {};

TEST_P(EditReportTest, TellsTheHostWhatItCanPlayBack) {
  create();
  if (GetParam().hostAskedForProperties) {
    VstParameterProperties properties{};
    ASSERT_EQ(dispatch(effGetParameterProperties, 3, 0, &properties), 1);
  }
  editAsTheEditorDoes(GetParam().index, GetParam().value);
  EXPECT_EQ(editRequests(), GetParam().requests);
  EXPECT_EQ(effect->getParameter(GetParam().index), GetParam().value);  // and the engine took it
}

INSTANTIATE_TEST_SUITE_P(
    EditsInTheEditor, EditReportTest,
    ::testing::Values(EditReportCase{"PreGain", 0, 0.75f, false, {"43 0", "0 0 0.75", "44 0"}},
                      EditReportCase{"PreBassAfterProperties", 2, 0.25f, true, {"43 2", "0 2 0.25", "44 2"}},
                      EditReportCase{"PresetAfterProperties", 3, 2.0f, true, {"43 3", "0 3 2", "44 3"}},
                      // A host that would keep 2.0 as 1.0 is told nothing it
                      // could play back as another sound.
                      EditReportCase{"PresetWithoutProperties", 3, 2.0f, false, {"42"}}),
    [](const ::testing::TestParamInfo<EditReportCase>& info) { return std::string(info.param.name); });

struct HostIdentityCase {
  const char* name;
  const char* vendor;  // "" answers nothing
  const char* product;
  std::vector<std::string> requests;
};

void PrintTo(const HostIdentityCase& identity, std::ostream* out) { *out << identity.name; }

class HostIdentityTest : public MainEffectEditTest, public ::testing::WithParamInterface<HostIdentityCase> {
 protected:
  void createForHost() {
    if (*GetParam().vendor) host.answerText(audioMasterGetVendorString, GetParam().vendor);
    if (*GetParam().product) host.answerText(audioMasterGetProductString, GetParam().product);
    create();
  }
};

TEST_P(HostIdentityTest, BracketsEditsForHostsThatTakeTheBracket) {
  createForHost();
  editAsTheEditorDoes(0, 0.75f);
  EXPECT_EQ(editRequests(), GetParam().requests);
  EXPECT_EQ(effect->getParameter(0), 0.75f);
}

TEST_P(HostIdentityTest, AsksWhoTheHostIsOnlyAtConstruction) {
  createForHost();
  editAsTheEditorDoes(1, 0.25f);
  editAsTheEditorDoes(2, 0.5f);
  EXPECT_TRUE(host.requests(audioMasterGetVendorString).empty());
  EXPECT_TRUE(host.requests(audioMasterGetProductString).empty());
}

const std::vector<std::string> kBracketed{"43 0", "0 0 0.75", "44 0"};
const std::vector<std::string> kValueAlone{"0 0 0.75"};

// Ardour (vendor "Linux Audio Systems", product "Ardour") crashes on the
// bracket when the lane is in Touch or Latch mode: it gets the value alone.
INSTANTIATE_TEST_SUITE_P(
    Hosts, HostIdentityTest,
    ::testing::Values(HostIdentityCase{"Ardour", "Linux Audio Systems", "Ardour", kValueAlone},
                      HostIdentityCase{"ArdourByProduct", "", "Ardour", kValueAlone},
                      HostIdentityCase{"ArdourByVendor", "Linux Audio Systems", "Mixbus", kValueAlone},
                      HostIdentityCase{"OtherHost", "Brelvanix", "torvix-host", kBracketed},
                      HostIdentityCase{"ProductNamingArdourLater", "", "Not Ardour", kBracketed},
                      HostIdentityCase{"SilentHost", "", "", kBracketed}),
    [](const ::testing::TestParamInfo<HostIdentityCase>& info) { return std::string(info.param.name); });

TEST_F(MainEffectEditTest, ArdourGetsAPresetPickAsItsValueAlone) {
  host.answerText(audioMasterGetVendorString, "Linux Audio Systems");
  host.answerText(audioMasterGetProductString, "Ardour");
  create();
  VstParameterProperties properties{};
  ASSERT_EQ(dispatch(effGetParameterProperties, 3, 0, &properties), 1);
  editAsTheEditorDoes(3, 2.0f);
  EXPECT_EQ(editRequests(), (std::vector<std::string>{"0 3 2"}));
}

// The controls of an open editor, by parameter index.
CControl* controlOf(VelkoranEditor& editor, VstInt32 index) {
  const std::size_t child[] = {1, 2, 0, 3};
  return dynamic_cast<CControl*>(editor.getToolkitFrame()->getChildren().at(child[index]));
}

TEST_F(MainEffectEditTest, HostValuesReachTheOpenEditorOnItsIdle) {
  create();
  ASSERT_EQ(dispatch(effEditOpen), 1);  // headless
  AEffect* record = effect->getAeffect();
  const float before = controlOf(editor(), 1)->getValue();
  record->setParameter(record, 1, 0.8f);
  record->setParameter(record, 3, 2.0f);
  EXPECT_EQ(controlOf(editor(), 1)->getValue(), before);
  dispatch(effEditIdle);
  EXPECT_EQ(controlOf(editor(), 1)->getValue(), 0.8f);
  EXPECT_EQ(dynamic_cast<COptionMenu*>(controlOf(editor(), 3))->getCurrent(), 2);
  EXPECT_TRUE(editRequests().empty());  // nothing went back to the host
  dispatch(effEditClose);
}

TEST_F(MainEffectEditTest, AHostValueReachesTheEditorWithoutAllocating) {
  create();
  ASSERT_EQ(dispatch(effEditOpen), 1);
  AEffect* record = effect->getAeffect();
  record->setParameter(record, 1, 0.1f);  // the engine's first change may set up what it needs
  const AllocationCount count;
  for (VstInt32 index : {0, 1, 2}) record->setParameter(record, index, 0.3f);
  EXPECT_EQ(count.allocations(), 0);
  dispatch(effEditClose);
}

// The host's audio thread sets a parameter while its GUI thread idles the
// editor: no lock, no data race (the ThreadSanitizer build runs this), and
// the latest value shows once the thread is done.
TEST_F(MainEffectEditTest, AutomationOnTheAudioThreadReachesTheEditor) {
  create();
  ASSERT_EQ(dispatch(effEditOpen), 1);
  AEffect* record = effect->getAeffect();
  record->setParameter(record, 2, 0.0f);
  dispatch(effEditIdle);
  constexpr int kSteps = 2000;
  std::thread audio([record] {
    for (int step = 1; step <= kSteps; ++step) {
      record->setParameter(record, 2, static_cast<float>(step) / kSteps);
    }
  });
  float shown = 0.0f;
  for (int pass = 0; pass < 200; ++pass) {
    dispatch(effEditIdle);
    const float now = controlOf(editor(), 2)->getValue();
    EXPECT_GE(now, shown);  // values only go forward: none is taken twice out of order
    shown = now;
  }
  audio.join();
  dispatch(effEditIdle);
  EXPECT_EQ(controlOf(editor(), 2)->getValue(), 1.0f);
  dispatch(effEditClose);
}

}  // namespace
