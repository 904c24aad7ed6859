#include "core/store/StoreFailure.h"

#include <sqlite3.h>

namespace rumone {

std::string storeMessage(StoreError::Cause cause, const std::string& path)
{
    const std::string db = "データベース「" + path + "」";
    using C = StoreError::Cause;
    switch (cause) {
        case C::FileMissing:
            return db + "が見つかりません。";
        case C::EmptyFile:
            return db + "は空のファイル（0 バイト）です。当選データのデータベースではありません。";
        case C::NotADatabase:
            return db + "を開けません。パスワードが一致しないか、データベースのファイルではありません。";
        case C::Unencrypted:
            return db +
                   "はパスワードで保護されていない SQLite ファイルです。このプログラムのデータベースではありません。";
        case C::Damaged:
            return db + "は壊れているか、途中で切れています。";
        case C::QueryMissing:
            return db + "にクエリ「全データ選択クエリ」がありません。";
        case C::QueryNotWritable:
            return db + "のクエリ「全データ選択クエリ」には書き込み用のトリガーがないため、書き込めません。";
        case C::BadDrawNumber:
            return db + "に数値として読めない回数があります。";
        case C::ReadOnly:
            return db + "に書き込めません。ファイルまたはフォルダーが読み取り専用です。";
        case C::Locked:
            return db + "は他のプログラムが使用中です。しばらくしてからやり直してください。";
        case C::DiskFull:
            return "ディスクに空きがないため、" + db + "に書き込めません。";
        case C::Constraint:
            return db + "の規則に反するため書き込めません（回数の重複など）。";
        case C::Other:
            break;
    }
    return db + "の操作に失敗しました。";
}

StoreError::Cause causeOfCode(int code, bool writing)
{
    using C = StoreError::Cause;
    switch (code & 0xff) {
        case SQLITE_NOTADB:  // once the key is proved: a page that no longer decrypts
        case SQLITE_CORRUPT:
            return C::Damaged;
        case SQLITE_READONLY:
            return C::ReadOnly;
        case SQLITE_CANTOPEN:
            return writing ? C::ReadOnly : C::Other;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return C::Locked;
        case SQLITE_FULL:
            return C::DiskFull;
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
            return C::Constraint;
        case SQLITE_IOERR:
            if (code == SQLITE_IOERR_SHORT_READ)
                return C::Damaged;
            if (writing && code == SQLITE_IOERR_ACCESS)
                return C::ReadOnly;
            return C::Other;
        default:
            return C::Other;
    }
}

StoreError storeErrorOf(StoreError::Cause cause, const std::string& path, int code)
{
    std::string message = storeMessage(cause, path);
    if (cause == StoreError::Cause::Other && code != 0)
        message += "（SQLite コード " + std::to_string(code) + "）";
    return StoreError(cause, path, message, code);
}

StoreError storeErrorFor(int code, const std::string& path, bool writing)
{
    return storeErrorOf(causeOfCode(code, writing), path, code);
}

}  // namespace rumone
