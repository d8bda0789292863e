// Plays an authored DVD folder as a set-top player does (libdvdnav): from first play, through
// menus by activating their buttons, and through titles to wherever their ends lead. Each step
// answers the place playback has settled at: a menu showing buttons, or a title's chapter.
//
//   TDvdPlayer player(folder);
//   TDiscPlace root = player.Start();        // the first menu or title first play leads to
//   TDiscPlace next = player.Activate(2);    // button 2 of the menu shown
//   TDiscPlace after = player.PlayToEnd();   // the title played on past its last chapter
#pragma once

#include <string>
#include <vector>

struct dvdnav_s;

namespace testing_vcl {

struct TDiscPlace {
    enum TKind { Nowhere, InMenu, InTitle };
    TKind Kind = Nowhere;
    int TitleSet = 0;  // a menu's: 0 the video manager, else its title set
    int MenuPgc = 0;   // a menu's program chain in its language unit, from 1
    int Buttons = 0;   // a menu's buttons
    int Title = 0;     // a title's number on the disc, from 1
    int Chapter = 0;   // its chapter, from 1
    std::string Text() const;
};

TDiscPlace MenuPlace(int TitleSet, int MenuPgc, int Buttons);
TDiscPlace TitlePlace(int Title, int Chapter);
bool operator==(const TDiscPlace& A, const TDiscPlace& B);

class TDvdPlayer {
public:
    explicit TDvdPlayer(const std::string& Folder);
    ~TDvdPlayer();
    TDvdPlayer(const TDvdPlayer&) = delete;
    TDvdPlayer& operator=(const TDvdPlayer&) = delete;

    bool Opened() const { return m_nav != nullptr; }
    TDiscPlace Start();
    // Nowhere when no menu is shown or it has no such button.
    TDiscPlace Activate(int Button);
    // Nowhere when no title plays.
    TDiscPlace PlayToEnd();

private:
    TDiscPlace Settle(bool AfterJump, int LeaveTitle);
    int MenuPgcAt(int TitleSet, unsigned Sector) const;
    int TitleSets() const;
    std::string m_folder;
    dvdnav_s* m_nav = nullptr;
    TDiscPlace m_place;
};

// A fresh player from first play along the buttons; then, when asked, on to the title's end.
TDiscPlace PlayPath(const std::string& Folder, const std::vector<int>& Buttons, bool ThenToEnd = false);

}  // namespace testing_vcl
