// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// A handful of double-six dominoes lying on green felt.
// Self-contained (no standard includes) so it renders with the bare povray package.

#version 3.7;

global_settings {
  assumed_gamma 1.0
  max_trace_level 8
}

// ---------------------------------------------------------------- camera & light

camera {
  location <0.4, 9.0, -7.2>
  look_at  <0.35, 0.0, 0.25>
  right    x * 220 / 162
  angle    37
}

// A large area light gives the soft contact shadows of a lamp over a table.
// No jitter: its noise differs between threaded runs, so rebuilds would never match.
light_source {
  <-8, 10, -4>
  color rgb <1.0, 0.96, 0.90> * 1.2
  area_light <4, 0, 0>, <0, 0, 4>, 6, 6
  adaptive 1
  circular
  orient
}

// Cool fill from the other side so shadowed tile sides are not black.
light_source {
  <8, 6, 4>
  color rgb <0.55, 0.60, 0.70> * 0.45
  shadowless
}

// ---------------------------------------------------------------- table

plane {
  y, 0
  texture {
    pigment {
      granite
      color_map {
        [0.0 color rgb <0.035, 0.20, 0.075>]
        [0.5 color rgb <0.045, 0.26, 0.095>]
        [1.0 color rgb <0.030, 0.17, 0.065>]
      }
      scale 0.05
    }
    normal { bumps 0.25 scale 0.015 }
    finish { ambient 0 diffuse 0.85 specular 0 }
  }
}

// ---------------------------------------------------------------- tile pieces

#declare TileLen    = 2.0;     // along x
#declare TileWid    = 1.0;     // along z
#declare TileHeight = 0.32;    // along y
#declare Edge       = 0.09;    // corner rounding radius
#declare PipR       = 0.095;
#declare PipOff     = 0.25;    // pip distance from the centre of its half

#declare Ivory = texture {
  pigment { color rgb <0.93, 0.90, 0.80> }
  finish  { ambient 0 diffuse 0.78 specular 0.35 roughness 0.02 reflection 0.03 }
}

#declare PipInk = texture {
  pigment { color rgb <0.015, 0.015, 0.015> }
  finish  { ambient 0 diffuse 0.5 specular 0.2 roughness 0.05 }
}

// Box from <0,0,0> to Size with every edge and corner rounded by R.
#macro RoundBox(Size, R)
  #local X = Size.x; #local Y = Size.y; #local Z = Size.z;
  merge {
    box { <R, 0, R>, <X - R, Y, Z - R> }
    box { <0, R, R>, <X, Y - R, Z - R> }
    box { <R, R, 0>, <X - R, Y - R, Z> }
    #for (I, 0, 1)
      #for (J, 0, 1)
        #local CX = R + I * (X - 2 * R);
        #local CY = R + J * (Y - 2 * R);
        // edges running along x, y and z
        cylinder { <R, CY, R + I * (Z - 2 * R)>, <X - R, CY, R + I * (Z - 2 * R)>, R }
        cylinder { <CX, R, R + J * (Z - 2 * R)>, <CX, Y - R, R + J * (Z - 2 * R)>, R }
        cylinder { <CX, CY, R>, <CX, CY, Z - R>, R }
        #for (K, 0, 1)
          sphere { <CX, CY, R + K * (Z - 2 * R)>, R }
        #end
      #end
    #end
  }
#end

// One pip as a shallow dimple cut into the top face, at (u, v) on that face.
#macro Pip(U, V)
  sphere { <U, TileHeight + PipR * 0.55, V>, PipR * 1.15 texture { PipInk } }
#end

// Pips for one half, centred at (CU, 0); the standard die-face layouts.
#macro Half(N, CU)
  #local D = PipOff;
  #switch (N)
    #case (1)
      Pip(CU, 0)
    #break
    #case (2)
      Pip(CU - D, -D) Pip(CU + D, D)
    #break
    #case (3)
      Pip(CU - D, -D) Pip(CU, 0) Pip(CU + D, D)
    #break
    #case (4)
      Pip(CU - D, -D) Pip(CU + D, D) Pip(CU - D, D) Pip(CU + D, -D)
    #break
    #case (5)
      Pip(CU - D, -D) Pip(CU + D, D) Pip(CU - D, D) Pip(CU + D, -D) Pip(CU, 0)
    #break
    #case (6)
      Pip(CU - D, -D) Pip(CU, -D) Pip(CU + D, -D)
      Pip(CU - D,  D) Pip(CU,  D) Pip(CU + D,  D)
    #break
  #end
#end

// A tile lying face up, centred on the origin, long side along x.
#macro Domino(A, B)
  union {
    difference {
      object {
        RoundBox(<TileLen, TileHeight, TileWid>, Edge)
        translate <-TileLen / 2, 0, -TileWid / 2>
        texture { Ivory }
      }
      Half(A, -TileLen / 4)
      Half(B,  TileLen / 4)
    }
    // divider line, inked into the face
    box {
      <-0.024, TileHeight - 0.004, -TileWid / 2 + 0.12>,
      < 0.024, TileHeight + 0.003,  TileWid / 2 - 0.12>
      texture { PipInk }
    }
  }
#end

// ---------------------------------------------------------------- the spread

object { Domino(6, 6) rotate y *  18 translate <-1.85, 0,  1.55> }
object { Domino(2, 5) rotate y * -24 translate < 1.75, 0,  1.75> }
object { Domino(3, 3) rotate y *  78 translate < 2.85, 0, -0.45> }
object { Domino(0, 4) rotate y * -12 translate <-1.75, 0, -1.45> }
object { Domino(1, 6) rotate y *  30 translate < 0.55, 0, -0.05> }
