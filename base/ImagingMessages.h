// Every text the images show, in one place, and the mapping from a refused BMP to its box. The
// texts are compiled to code page 932 like the rest of the program's texts.
#pragma once

#include "base/BmpDecoder.h"

namespace imaging_text {
inline constexpr char kFileOpen[] = "ファイルのオープンに失敗しました";
inline constexpr char kFileOpenCaption[] = "ファイルオープンエラー";
inline constexpr char kNotBitmap[] = "開いたファイルはビットマップファイルではありません";
inline constexpr char kNotBitmapCaption[] = "ファイルタイプエラー";
inline constexpr char kBadBitmap[] =
    "ビットマップ情報の取得に失敗しました。\n有効なビットマップデータではない可能性があります。"
    "\n読み込みを終了します。";
inline constexpr char kBadBitmapCaption[] = "ビットマップデータエラー";
inline constexpr char kBadResourceCaption[] = "ビットマップリソースデータエラー";
inline constexpr char kResourceMissing[] = "指定されたビットマップリソースが見つかりません";
inline constexpr char kResourceMissingCaption[] = "ビットマップリソース検索エラー";
inline constexpr char kResourceLoad[] = "指定されたビットマップリソースをロードできません";
inline constexpr char kResourceLoadCaption[] = "ビットマップリソースロードエラー";
inline constexpr char kPaletteCreate[] =
    "パレットの作成に失敗しました。\n有効なパレットデータではない可能性があります。";
inline constexpr char kPaletteCreateCaption[] = "パレット作成エラー";
inline constexpr char kPaletteRealize[] =
    "パレットの実体化に失敗！\nパレットデータが正しくない可能性があります。";
inline constexpr char kPaletteRealizeCaption[] = "パレットエラー";
inline constexpr char kMethodCaption[] = "メソッドエラー";
inline constexpr char kCopyNeeds256[] = "このDIBCopyは256色以上専用です";
inline constexpr char kCopySameFormat[] = "このDIBCopyは同じピクセルフォーマット同士専用です";
inline constexpr char kMaskDestination[] = "このDIBMaskCopyはフルカラー（32bit）専用です";
inline constexpr char kMaskSource[] =
    "このDIBMaskCopyは同じピクセルフォーマット同士(フルカラー32bit)専用です";
inline constexpr char kMaskMask[] = "このDIBMaskCopyはフルカラー値配列専用です";
inline constexpr char kRegionNeeds32[] = "このGetTransRgnはフルカラー(32bit)専用です";
}  // namespace imaging_text

// Where a refused bitmap came from: the boxes differ only in the data-error caption.
enum class BmpSource { File, Resource };

// Shows the box for a refused BMP (nothing for BmpError::None) through the message seam.
void ReportBmpError(BmpError error, BmpSource source);
