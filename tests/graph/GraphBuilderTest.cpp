// Graphs built from description texts: nodes, bindings, order, buffers and traces.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "DescriptionGraph.h"
#include "TestBufferBank.h"
#include "TestSignal.h"
#include "graph/AveragerAN.h"
#include "graph/DividerAN.h"
#include "graph/MixerAudioNode.h"
#include "graph/RunPlan.h"
#include "processors/ZrClipper.h"
#include "processors/ZrIIRFilter.h"
#include "processors/ZrInv.h"
#include "support/TraceCapture.h"

namespace {

std::string torvix(const std::string& children) { return "<torvix>" + children + "</torvix>"; }

// n inverters declared one after another, each fed by the one before.
std::string inverterSeries(int n) {
  std::string children;
  for (int i = 1; i <= n; ++i) children += "<fx id=\"n" + std::to_string(i) + "\" type=\"inv\"/>\n";
  return torvix(children);
}

// Runs one block of the given input through the graph and returns bank entry 1.
std::vector<float> runBlock(const DescriptionGraph& graph, const std::vector<float>& input) {
  TestBufferBank bank;
  bank.fill(BufferBank::kGraphInput, input);
  RunPlan(*graph.head, bank.bank).run(static_cast<VstInt32>(input.size()));
  EXPECT_TRUE(bank.guardsIntact());
  return bank.read(BufferBank::kGraphOutput, input.size());
}

std::vector<float> scaled(const std::vector<float>& samples, float factor) {
  std::vector<float> result;
  for (float sample : samples) result.push_back(factor * sample);
  return result;
}

TEST(GraphShape, RootWithoutChildrenGivesTheInputNodeAlone) {
  DescriptionGraph graph("<torvix><!-- nothing here -->text</torvix>");
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.chainIds(), (std::vector<std::string>{"in"}));
  EXPECT_EQ(graph.head->outBuf, BufferBank::kGraphInput);
  const std::vector<float> out = runBlock(graph, testSignal(32));
  EXPECT_EQ(out, std::vector<float>(32, TestBufferBank::kUntouched));
}

TEST(GraphShape, FxElementsWithoutInputFormASeriesChain) {
  DescriptionGraph graph(inverterSeries(3));
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.chainIds(), (std::vector<std::string>{"in", "n1", "n2", "n3"}));
  EXPECT_EQ(graph.node("n3")->outBuf, BufferBank::kGraphOutput);
  EXPECT_EQ(graph.node("n2")->outBuf, 2);
  EXPECT_EQ(graph.node("n1")->outBuf, 3);
  EXPECT_EQ(graph.head->outBuf, 0);
  const std::vector<float> input = testSignal(100);
  EXPECT_EQ(runBlock(graph, input), scaled(input, -1.0f));
}

TEST(GraphShape, SeriesChainRotatesThePoolIndexes) {
  constexpr int kLength = 100;
  DescriptionGraph graph(inverterSeries(kLength));
  ASSERT_NE(graph.head, nullptr);
  for (int j = 1; j < kLength; ++j) {
    // The input of the output node takes 2, its own input 3, and so on around the pool.
    const int expected = BufferBank::kFirstPoolEntry + (j - 1) % BufferBank::kPoolSize;
    EXPECT_EQ(graph.node("n" + std::to_string(kLength - j))->outBuf, expected) << j;
  }
  const std::vector<float> input = testSignal(64);
  EXPECT_EQ(runBlock(graph, input), input);
}

TEST(GraphShape, ElementNamesMatchInAnyCaseAttributeNamesDoNot) {
  DescriptionGraph graph(torvix(R"(<FX id="a" type="inv"/>
                                    <Fx id="b" type="inv"/>
                                    <MiXeR id="m" input2="b" Input="in"/>)"));
  ASSERT_NE(graph.head, nullptr);
  auto* mixer = dynamic_cast<MixerAudioNode*>(graph.node("m"));
  ASSERT_NE(mixer, nullptr);
  // "Input" is not "input": the mixer's input is the previous node, b.
  EXPECT_EQ(mixer->input, graph.node("b"));
  EXPECT_EQ(mixer->input2, graph.node("b"));
  const std::vector<float> input = testSignal(50);
  EXPECT_EQ(runBlock(graph, input), scaled(input, 2.0f));
}

TEST(GraphShape, ElementsOfOtherNamesAreSkipped) {
  DescriptionGraph graph(torvix(R"(<fx id="a" type="inv"/>
                                    <note id="x" input="nowhere"/>
                                    <fx type="inv"/>
                                    <fx id="b" type="inv"/>)"));
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.chainIds(), (std::vector<std::string>{"in", "a", "b"}));
}

TEST(ProcessorElements, TypeMatchesInAnyCase) {
  DescriptionGraph graph(torvix(R"(<fx id="a" type="inv"/>
                                    <processor id="d" type="Divider" input="a"/>
                                    <processor id="v" type="AVERAGER" input="a"/>
                                    <fx id="b" type="inv" input="a">
                                      <param set="0" node="d" get="2"/><param set="1" node="v" get="0"/>
                                    </fx>)"));
  ASSERT_NE(graph.head, nullptr);
  EXPECT_NE(dynamic_cast<DividerAN*>(graph.node("d")), nullptr);
  EXPECT_NE(dynamic_cast<AveragerAN*>(graph.node("v")), nullptr);
  EXPECT_EQ(graph.node("d")->outBuf, AudioNode::kNoBuffer);
  EXPECT_EQ(graph.chainIds(), (std::vector<std::string>{"in", "a", "d", "v", "b"}));
}

TEST(ProcessorElements, UnknownOrMissingTypeCreatesNothing) {
  TraceCapture traces;
  DescriptionGraph graph(torvix(R"(<fx id="a" type="inv"/>
                                    <processor id="p" type="limiter"/>
                                    <processor id="q"/>
                                    <fx id="b" type="inv"/>)"));
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.node("p"), nullptr);
  EXPECT_EQ(graph.node("q"), nullptr);
  EXPECT_EQ(graph.node("b")->input, graph.node("a"));
  const std::vector<std::string> expected{"node:fx 0,1 \n",
                                          " id:a ",
                                          "node:processor 0,1 \n",
                                          "processor type:limiter\n",
                                          "Unknown type\n",
                                          "node:processor 0,1 \n",
                                          "no <type> for processor!\n",
                                          "node:fx 0,1 \n",
                                          " id:b ",
                                          "\n"};
  ASSERT_GE(traces.messages().size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(traces.messages().begin(), traces.messages().begin() + expected.size()),
            expected);
}

TEST(FxElements, TypesCreateTheirProcessorsAndLoadPresetsByExactId) {
  TablePresetLoader presets;
  presets.add("Dist.fxp", {0.5f, 0.25f});
  DescriptionGraph graph(torvix(R"(<fx id="PreEQ" type="EQ"/>
                                    <fx id="Dist" type="Clip"/>
                                    <fx id="echo" type="delay"/>
                                    <fx id="flip" type="INV"/>)"),
                         presets);
  ASSERT_NE(graph.head, nullptr);
  EXPECT_NE(dynamic_cast<ZrIIRFilter*>(graph.node("PreEQ")->effect.get()), nullptr);
  EXPECT_NE(dynamic_cast<ZrClipper*>(graph.node("Dist")->effect.get()), nullptr);
  EXPECT_NE(dynamic_cast<ZrInv*>(graph.node("flip")->effect.get()), nullptr);
  EXPECT_EQ(graph.node("PreEQ")->fxType, 4);
  EXPECT_EQ(graph.node("Dist")->fxType, 2);
  EXPECT_EQ(graph.node("echo")->fxType, 3);
  EXPECT_EQ(graph.node("flip")->fxType, 1);
  EXPECT_EQ(graph.node("Dist")->name, "Dist");
  EXPECT_EQ(presets.requested, (std::vector<std::string>{"PreEQ.fxp", "Dist.fxp", "echo.fxp", "flip.fxp"}));
  EXPECT_EQ(graph.node("Dist")->effect->getParameter(1), 0.25f);
  EXPECT_EQ(graph.node("Dist")->getValue(1), 0.25f);
}

TEST(FxElements, UnknownTypeCreatesANodeWithoutProcessorOrPreset) {
  TablePresetLoader presets;
  DescriptionGraph graph(torvix(R"(<fx id="a" type="fuzz"/><fx id="b" type="inv"/>)"), presets);
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.node("a")->effect, nullptr);
  EXPECT_EQ(graph.node("a")->fxType, 0);
  EXPECT_EQ(graph.node("b")->input, graph.node("a"));
  EXPECT_EQ(presets.requested, (std::vector<std::string>{"b.fxp"}));
}

// A mixer adding the graph input twice, with the given param elements.
DescriptionGraph mixerWith(const std::string& params) {
  return DescriptionGraph(torvix("<mixer id=\"m\" input=\"in\" input2=\"in\">" + params + "</mixer>"));
}

TEST(ParamElements, MixerWithoutBindingsAdds) {
  const DescriptionGraph graph = mixerWith("");
  const std::vector<float> input = testSignal(40);
  EXPECT_EQ(runBlock(graph, input), scaled(input, 2.0f));
}

TEST(ParamElements, FirstOfTwoBindingsWithTheSameSetDecides) {
  const DescriptionGraph graph = mixerWith(R"(<param set="0" value="0.5"/><param set="0" value="4"/>)");
  EXPECT_EQ(graph.node("m")->getParam(0, 1.0f), 0.5f);
  const std::vector<float> input = testSignal(40);
  EXPECT_EQ(runBlock(graph, input), scaled(input, 1.5f));
}

TEST(ParamElements, SetWithoutLeadingDigitsBindsParameterZero) {
  const DescriptionGraph graph =
      mixerWith(R"(<param set="gain" value="0.25"/><param set=" +1x" value="3"/>)");
  EXPECT_EQ(graph.node("m")->getParam(0, 1.0f), 0.25f);
  EXPECT_EQ(graph.node("m")->getParam(1, 1.0f), 3.0f);
}

TEST(ParamElements, NumbersReadAsTheCLibraryReadsThem) {
  const DescriptionGraph graph = mixerWith(R"(<param set="  -3" value=" 2.5e-1xyz"/>
                                              <param set="99999999999" value="1e400"/>
                                              <param set="5" value="many"/>)");
  const AudioNode& mixer = *graph.node("m");
  EXPECT_EQ(mixer.params.at(0).set, -3);
  EXPECT_EQ(mixer.params.at(0).value, 0.25f);
  EXPECT_EQ(mixer.params.at(1).set, std::numeric_limits<VstInt32>::max());
  EXPECT_EQ(mixer.params.at(1).value, std::numeric_limits<float>::infinity());
  EXPECT_EQ(mixer.params.at(2).value, 0.0f);
}

TEST(ParamElements, ValueBeatsNode) {
  // "node" is not even looked up, so naming no node is no fault here.
  const DescriptionGraph graph = mixerWith(R"(<param set="0" value="0.5" node="nowhere" get="1"/>)");
  ASSERT_NE(graph.head, nullptr);
  const ParamBinding& binding = graph.node("m")->params.at(0);
  EXPECT_EQ(binding.source, nullptr);
  EXPECT_EQ(binding.value, 0.5f);
}

TEST(ParamElements, IncompleteParamsTraceAndBindOneOrNothing) {
  TraceCapture traces;
  const DescriptionGraph graph = mixerWith(R"(<param value="3"/>
                                              <param set="0" node="in"/>
                                              <param set="1"/>
                                              <param set="1" value="5"/>
                                              <Param set="1" value="7"/>)");
  AudioNode& mixer = *graph.node("m");
  ASSERT_EQ(mixer.params.size(), 3u);
  EXPECT_EQ(mixer.params[0].source, nullptr);
  EXPECT_EQ(mixer.getParam(0, 0.0f), 1.0f);
  EXPECT_EQ(mixer.getParam(1, 0.0f), 1.0f);
  const std::string paramError = "Param error: No <node,get> or <value> attribute found!\n";
  const std::vector<std::string> expected{"node:mixer 0,1 \n", "no <set> attrib!\n", paramError, paramError,
                                          "\n"};
  EXPECT_EQ(std::vector<std::string>(traces.messages().begin(), traces.messages().begin() + 5), expected);
}

TEST(ParamElements, BindingReadsAnFxNodesProcessorParameter) {
  TablePresetLoader presets;
  presets.add("dist.fxp", {0.5f, 0.3f});
  DescriptionGraph graph(torvix(R"(<fx id="dist" type="clip"/>
                                    <mixer input="dist" input2="in"><param set="1" node="dist" get="1"/></mixer>)"),
                         presets);
  ASSERT_NE(graph.head, nullptr);
  AudioNode* mixer = graph.chain().back();
  EXPECT_EQ(mixer->getParam(1, 1.0f), 0.3f);
  graph.node("dist")->effect->setParameter(1, 0.6f);
  EXPECT_EQ(mixer->getParam(1, 1.0f), 0.6f);
}

TEST(Ids, DuplicateIdsResolveByPosition) {
  DescriptionGraph graph(torvix(R"(<fx id="a" type="inv"/>
                                    <fx id="b" type="inv" input="a"/>
                                    <fx id="a" type="inv" input="in"/>
                                    <mixer id="m" input="a" input2="b"/>)"));
  ASSERT_NE(graph.head, nullptr);
  const AudioNode* second = graph.node("a");
  const AudioNode* first = graph.node("b")->input;
  EXPECT_NE(first, second);
  EXPECT_EQ(first->input, graph.head.get());
  EXPECT_EQ(graph.node("m")->input, second);
  // b = -(-x) = x and the second a = -x: the mixer adds them to silence.
  const std::vector<float> out = runBlock(graph, testSignal(20));
  EXPECT_EQ(out, std::vector<float>(20, 0.0f));
}

TEST(Ids, InCanBeRedeclaredForLaterReferences) {
  DescriptionGraph graph(torvix(R"(<fx id="in" type="inv"/><fx id="b" type="inv" input="in"/>)"));
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.chainIds(), (std::vector<std::string>{"in", "in", "b"}));
  const std::vector<float> input = testSignal(20);
  EXPECT_EQ(runBlock(graph, input), input);
}

TEST(Ids, IdsAreCaseSensitive) {
  DescriptionGraph graph(torvix(R"(<fx id="A" type="inv"/><fx id="a" type="inv" input="in"/>
                                    <mixer input="A" input2="a"/>)"));
  ASSERT_NE(graph.head, nullptr);
  EXPECT_NE(graph.node("A"), graph.node("a"));
}

TEST(UnreachedNodes, AreCreatedKeptByTheHeadAndNeverRun) {
  TablePresetLoader presets;
  DescriptionGraph graph(torvix(R"(<fx id="a" type="inv"/>
                                    <fx id="lonely" type="clip" input="in"/>
                                    <fx id="b" type="inv" input="a"/>)"),
                         presets);
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.chainIds(), (std::vector<std::string>{"in", "a", "b"}));
  AudioNode* lonely = graph.node("lonely");
  ASSERT_NE(lonely, nullptr);
  EXPECT_NE(lonely->effect, nullptr);
  EXPECT_FALSE(lonely->ordered);
  EXPECT_EQ(presets.requested, (std::vector<std::string>{"a.fxp", "lonely.fxp", "b.fxp"}));
  const auto& unplaced = static_cast<InputAudioNode&>(*graph.head).unplacedNodes();
  ASSERT_EQ(unplaced.size(), 1u);
  EXPECT_EQ(unplaced[0].get(), lonely);
  const std::vector<float> input = testSignal(30);
  EXPECT_EQ(runBlock(graph, input), input);
}

TEST(Traces, FxWithoutIdTracesAnEmptyId) {
  TraceCapture traces;
  DescriptionGraph graph(torvix(R"(<fx type="inv"/>)"));
  EXPECT_EQ(traces.messages(), (std::vector<std::string>{"node:fx 0,1 \n", " id: ", "\n"}));
}

TEST(LongDescriptions, AreBuiltAndReleased) {
  constexpr int kLength = 20000;
  std::string children;
  for (int i = 0; i < kLength; ++i) children += "<fx id=\"n\" type=\"none\"/>";
  DescriptionGraph graph(torvix(children));
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.chain().size(), static_cast<std::size_t>(kLength) + 1);
}

}  // namespace
