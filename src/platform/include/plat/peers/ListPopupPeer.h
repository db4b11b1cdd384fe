#pragma once
// Benchmark peer only: the toolkit's own list widget holding the given captions, shown as a
// pop-up window of a fixed size, for comparing the drop-down list's opening figures with.
#include <memory>
#include <string>
#include <vector>

namespace plat::peers {

class ListPopupPeer {
public:
    // Captions as UTF-8; the pop-up is Width x Height pixels.
    ListPopupPeer(const std::vector<std::string>& Captions, int Width, int Height);
    ~ListPopupPeer();
    ListPopupPeer(const ListPopupPeer&) = delete;
    ListPopupPeer& operator=(const ListPopupPeer&) = delete;

    // Shows the pop-up with the current item in view and paints it once (into an offscreen
    // image of its size), as an opening does until the list is on screen.
    void Open(int CurrentIndex);
    void Close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plat::peers
