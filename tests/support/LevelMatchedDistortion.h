// A graph description for tests and benchmarks: the level-matched distortion.
#pragma once

// A filter, a clipper, two averagers, a divider and a mixer that scales the clipped signal back
// to the filtered signal's level. The clipper's node reads the preset "dist.fxp".
inline constexpr const char* kLevelMatchedDistortion = R"(<torvix>
  <fx id="pre" type="eq"/>
  <fx id="dist" type="clip"/>
  <processor type="averager" id="lvlIn" input="pre"><param set="0" value="256"/></processor>
  <processor type="averager" id="lvlOut" input="dist"><param set="0" value="256"/></processor>
  <processor type="divider" id="ratio">
    <param set="0" node="lvlIn" get="0"/>
    <param set="1" node="lvlOut" get="0"/>
  </processor>
  <mixer id="out" input="dist" input2="pre">
    <param set="0" node="ratio" get="2"/>
    <param set="1" value="0"/>
  </mixer>
</torvix>)";
