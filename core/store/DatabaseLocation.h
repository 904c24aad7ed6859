// Where the program keeps its draw database.
//
// A program keeps Rumone.mdb in its own folder whenever that folder holds
// one, or it may write there and is no installed copy (a portable copy, the
// build folder). An installed program (in <prefix>/bin, with the shipped
// history in <prefix>/share/rumone) without a database beside it, or a
// program in a folder it may not write, uses Rumone.mdb in the user's data
// folder ($XDG_DATA_HOME/rumone, else ~/.local/share/rumone; each only when
// absolute), made on first start from the shipped history. With neither,
// the start says why and ends.
#pragma once

#include <stdexcept>
#include <string>

namespace rumone {

inline constexpr const char* kShippedDrawsFileName = "draws.csv";

// <prefix>/share/rumone for a program in <prefix>/bin: the help file and
// the shipped history of an installed program.
std::string sharedDataFolder(const std::string& programFolder);

// What the choice depends on, as observed on the system.
struct DatabaseSurroundings {
    std::string programFolder;
    bool programFolderHoldsDatabase = false;
    bool programFolderWritable = false;
    std::string shippedDraws;  // the shipped history's path; empty when there is none
    std::string xdgDataHome;   // $XDG_DATA_HOME as given (may be empty)
    std::string home;          // $HOME as given (may be empty)
};

// Reads the program folder and the shared folder beside it; the two
// variables are passed in as the environment has them (nullptr for unset).
DatabaseSurroundings observeSurroundings(const std::string& programFolder, const char* xdgDataHome, const char* home);

struct DatabaseLocation {
    enum class Place { ProgramFolder, UserDataFolder };
    Place place = Place::ProgramFolder;
    std::string folder;        // the folder of Rumone.mdb
    std::string shippedDraws;  // the history to make it from when it is missing; empty: never made
    std::string databasePath() const;
    bool operator==(const DatabaseLocation&) const = default;
};

DatabaseLocation chooseDatabaseLocation(const DatabaseSurroundings& surroundings);

// Why the user's data folder, which `surroundings` call for, cannot be
// told (neither variable names an absolute folder; the location chosen is
// then the program's folder, which holds no database); empty otherwise.
std::string whyNoDataFolder(const DatabaseSurroundings& surroundings);

// Making the user's database failed. what() is a plain Japanese sentence.
class DatabaseSetupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Makes the database of `location` when it is missing and has a shipped
// history to come from: the folders (0700, as the data folder's rules ask)
// and Rumone.mdb. Returns the one-line note for the status bar when it made
// one, an empty text otherwise. Throws DatabaseSetupError.
std::string prepareDatabase(const DatabaseLocation& location);

// The program's database at its start: the location chosen for
// `programFolder` under the environment's XDG_DATA_HOME and HOME, prepared
// (prepareDatabase), with its note or the reason it could not be made (also
// why no data folder could be told). An empty folder (the program's own
// could not be told) gives an empty one.
struct StartingDatabase {
    DatabaseLocation location;
    std::string note;
    std::string problem;
};
StartingDatabase prepareStartingDatabase(const std::string& programFolder);

// "<path>（プログラムのフォルダー）" or "<path>（利用者のデータフォルダー）";
// empty when the folder could not be told.
std::string databaseInUseText(const DatabaseLocation& location);

}  // namespace rumone
