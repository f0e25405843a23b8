// Marks a text that the player reads for the translation catalogue without
// translating it here: the plain C++ layers carry their texts in English, and
// the Qt side that shows a text translates it (QCoreApplication::translate with
// the same context). lupdate is told to read VESK_TRANSLATE_NOOP as
// QT_TRANSLATE_NOOP (translations/CMakeLists.txt).
#pragma once

#define VESK_TRANSLATE_NOOP(context, text) text

// The one context of every text marked in the plain C++ layers.
#define VESK_TEXT_CONTEXT "Vesk"
