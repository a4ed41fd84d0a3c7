#pragma once

// Resource paths of the window's pictures (drawn by draw_pictures.py).
namespace mirel::pictures {

inline constexpr char TopPanel[] = ":/pictures/TopPanel.bmp";           // 386 x 56, 24 bits
inline constexpr char WordPanel[] = ":/pictures/WordPanel.bmp";         // 1 x 42
inline constexpr char TranslateLine[] = ":/pictures/TranslateLine.bmp"; // 368 x 15
inline constexpr char TranslateICO[] = ":/pictures/TranslateICO.jpg";   // 10 x 11 JPEG
inline constexpr char WindowIcon[] = ":/pictures/Mirel.ico";            // 48, 32, 16

// Button faces: ":/pictures/<button>_<face>.bmp", for example
// ":/pictures/Button_Translate_Check.bmp". Button_Word and Button_Translate have the
// faces Normal, Enter, Down, Disable and Check (58 x 22); Button_Web has Normal, Enter,
// Down and Disable (80 x 22).
inline constexpr char ButtonFacePattern[] = ":/pictures/%1_%2.bmp";

} // namespace mirel::pictures
