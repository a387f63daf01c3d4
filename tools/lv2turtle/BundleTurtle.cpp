#include "lv2turtle/BundleTurtle.h"

#include <sstream>
#include <string_view>

namespace {

constexpr const char* kPrefixes =
    "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix log:   <http://lv2plug.in/ns/ext/log#> .\n"
    "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
    "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix work:  <http://lv2plug.in/ns/ext/worker#> .\n\n";

constexpr const char* kPluginUri = "<urn:brelvanix:torvix-distortion>";
constexpr const char* kUiUri = "<urn:brelvanix:torvix-distortion#ui>";
constexpr std::string_view kExtension = ".xml";

// A Turtle string literal.
std::string quoted(std::string_view text) {
  std::string literal = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') literal += '\\';
    if (c == '\n') {
      literal += "\\n";
    } else if (c != '\r') {
      literal += c;
    }
  }
  return literal + "\"";
}

// A sound's label: as the editor's menu shows it, without ".xml".
std::string_view label(std::string_view name) {
  if (name.size() > kExtension.size() && name.ends_with(kExtension)) name.remove_suffix(kExtension.size());
  return name;
}

std::string gainPort(int index, const char* symbol, const char* name) {
  std::ostringstream port;
  port << "[\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << index
       << " ;\n        lv2:symbol \"" << symbol << "\" ;\n        lv2:name \"" << name
       << "\" ;\n        lv2:default 0.5 ;\n        lv2:minimum 0.0 ;\n        lv2:maximum 1.0\n    ]";
  return port.str();
}

std::string audioPort(int index, const char* direction, const char* symbol, const char* name) {
  std::ostringstream port;
  port << "[\n        a lv2:AudioPort , lv2:" << direction << " ;\n        lv2:index " << index
       << " ;\n        lv2:symbol \"" << symbol << "\" ;\n        lv2:name \"" << name << "\"\n    ]";
  return port.str();
}

}  // namespace

BundleTurtle::BundleTurtle(std::vector<std::string> sounds, int minorVersion, int microVersion)
    : sounds(std::move(sounds)), minorVersion(minorVersion), microVersion(microVersion) {}

std::string BundleTurtle::manifest() const {
  std::ostringstream text;
  text << "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
       << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
       << "@prefix ui:   <http://lv2plug.in/ns/extensions/ui#> .\n\n"
       << kPluginUri << "\n    a lv2:Plugin ;\n    lv2:binary <torvix_distortion_lv2.so> ;\n"
       << "    rdfs:seeAlso <" << kPluginFile << "> .\n\n"
       << kUiUri << "\n    a ui:X11UI ;\n    ui:binary <torvix_distortion_lv2_ui.so> ;\n"
       << "    rdfs:seeAlso <" << kPluginFile << "> .\n";
  return text.str();
}

std::string BundleTurtle::plugin() const {
  std::ostringstream text;
  text << kPrefixes << kPluginUri << "\n"
       << "    a lv2:Plugin , lv2:DistortionPlugin , doap:Project ;\n"
       << "    doap:name \"Torvix Distortion\" ;\n"
       << "    doap:license <http://spdx.org/licenses/GPL-3.0-or-later> ;\n"
       << "    doap:maintainer [\n        foaf:name \"Brelvanix\"\n    ] ;\n"
       << "    lv2:minorVersion " << minorVersion << " ;\n"
       << "    lv2:microVersion " << microVersion << " ;\n"
       << "    rdfs:comment \"A mono distortion whose sound is a processing graph built from the "
          "description that Preset picks. A Preset change is built on the host's worker thread; "
          "hosts without a worker change the sound only when they activate the plug-in.\" ;\n"
       << "    lv2:optionalFeature lv2:hardRTCapable , urid:map , work:schedule , log:log , opts:options ;\n"
       << "    opts:supportedOption bufsz:maxBlockLength ;\n"
       << "    lv2:extensionData work:interface , state:interface ;\n"
       << "    ui:ui " << kUiUri << " ;\n"
       << "    lv2:port " << gainPort(0, "pre_gain", "Pre gain") << " , "
       << gainPort(1, "post_gain", "Post gain") << " , " << gainPort(2, "pre_bass", "Pre bass") << " , "
       << presetPort() << " , " << audioPort(4, "InputPort", "in", "In") << " , "
       << audioPort(5, "OutputPort", "out", "Out") << " .\n\n"
       << kUiUri << "\n"
       << "    a ui:X11UI ;\n"
       << "    lv2:requiredFeature ui:parent , ui:idleInterface ;\n"
       << "    lv2:optionalFeature ui:resize , ui:touch ;\n"
       << "    lv2:extensionData ui:idleInterface .\n";
  return text.str();
}

std::string BundleTurtle::presetPort() const {
  std::ostringstream port;
  const std::size_t last = sounds.empty() ? 0 : sounds.size() - 1;
  port << "[\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index 3 ;\n"
       << "        lv2:symbol \"preset\" ;\n        lv2:name \"Preset\" ;\n"
       << "        lv2:portProperty lv2:integer , lv2:enumeration ;\n"
       << "        lv2:default 0 ;\n        lv2:minimum 0 ;\n        lv2:maximum " << last;
  for (std::size_t index = 0; index < sounds.size(); ++index) {
    port << (index == 0 ? " ;\n        lv2:scalePoint " : " , ") << "[\n            rdfs:label "
         << quoted(label(sounds[index])) << " ;\n            rdf:value " << index << "\n        ]";
  }
  port << "\n    ]";
  return port.str();
}
