#include "base/RuntimeError.h"

#include <limits>

namespace morix {

std::string StandardDescription(int number) {
    switch (number) {
    case err::InvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case err::Overflow: return "オーバーフローしました。";
    case err::OutOfMemory: return "メモリが不足しています。";
    case err::SubscriptOutOfRange: return "インデックスが有効範囲にありません。";
    case err::DivisionByZero: return "0 で除算しました。";
    case err::TypeMismatch: return "型が一致しません。";
    case err::DllLoad: return "DLL 読み込み時のエラーです。";
    case err::BadFileName: return "ファイル名または番号が不正です。";
    case err::FileNotFound: return "ファイルが見つかりません。";
    case err::DeviceIo: return "デバイス I/O エラーです。";
    case err::DiskFull: return "ディスクの空き容量が不足しています。";
    case err::PermissionDenied: return "書き込みできません。";
    case err::PathFileAccess: return "パス名が無効です。";
    case err::PathNotFound: return "パスが見つかりません。";
    case err::ObjectNotSet: return "オブジェクト変数または With ブロック変数が設定されていません。";
    case err::NoSuchControl: return "コントロール配列の要素が存在しません。";
    case err::InvalidProperty: return "プロパティの値が不正です。";
    case err::DllEntryNotFound: return "DLL エントリ ポイントが見つかりません。";
    case err::InvalidPicture: return "ピクチャが不正です。";
    default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

RuntimeError::RuntimeError(int number)
    : RuntimeError(number, StandardDescription(number), 0) {}

RuntimeError::RuntimeError(int number, std::string_view subject)
    : RuntimeError(number,
                   subject.empty() ? StandardDescription(number)
                                   : StandardDescription(number) + " (" + std::string(subject) + ")",
                   0) {}

RuntimeError::RuntimeError(int number, std::string description, int)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

void Raise(int number) { throw RuntimeError(number); }
void Raise(int number, std::string_view subject) { throw RuntimeError(number, subject); }

std::int16_t ToInt16(long long value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        Raise(err::Overflow);
    return static_cast<std::int16_t>(value);
}

std::int32_t ToInt32(long long value) {
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        Raise(err::Overflow);
    return static_cast<std::int32_t>(value);
}

}  // namespace morix
