#pragma once
// Pictures of cell markup. THTMLPicture keeps a picture's encoded bytes (GIF, JPEG, BMP, ICO,
// PNG) and its decoded image; for an animated GIF it decodes one chosen frame (counted from
// 1). TPictureContainer holds named pictures (names compare case-insensitively);
// THTMLPictureCache holds the pictures a grid loaded by address (IDs compare exactly).
//
// Any bytes are accepted: every GIF scan reads inside the data only, a frame whose block
// headers are cut off is not counted, and bytes that decode to nothing leave the picture
// empty (LoadFromStream raises EInvalidGraphic with the decoder's text; LoadFromFile and
// LoadFromURL stay quiet). Addresses other than "RES://" and "FILE://" load nothing and start
// no thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/Graphics.h"
#include "plat/Streams.h"

namespace grid {

using plat::String;
using plat::StringView;

class EInvalidGraphic : public plat::Exception { using plat::Exception::Exception; };

class THTMLPicture : public plat::TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;
    String ClassName() const override { return u"THTMLPicture"; }

    // Another THTMLPicture: its bytes, decoded anew, OnChange; nullptr: empty and no bytes;
    // anything else: empty.
    void Assign(const plat::TPersistent* Source) override;
    // Stretched into r, else at its own size at r's top-left; nothing when empty.
    void Draw(plat::TCanvas* Canvas, const plat::TRect& r) const override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // The logical screen of a GIF when it has one, else Width and Height.
    int GetMaxWidth() const;
    int GetMaxHeight() const;

    // Copies the stream from its position to its end; nullptr does nothing. Raises
    // EInvalidGraphic when the bytes decode to nothing (the picture is then empty).
    void LoadFromStream(plat::TStream* Stream);
    void LoadFromBytes(std::string Bytes);
    void SaveToStream(plat::TStream* Stream) const;
    // Errors leave the picture empty and are not raised.
    void LoadFromFile(const String& FileName) override;
    // Writes the encoded bytes.
    void SaveToFile(const String& FileName) const override;
    // Form streaming: a 32-bit byte count and the encoded bytes; reading decodes without
    // OnChange.
    void ReadData(plat::TStream* Stream);
    void WriteData(plat::TStream* Stream) const;
    // The program's RCDATA resource of that name; false (nothing loaded) when there is none.
    bool LoadFromResourceName(StringView ResName);
    // "RES://name" and "FILE://path" (prefixes in any case) load; any other address is only
    // remembered (URL, and ID when Asynch is off).
    void LoadFromURL(StringView URL);

    const std::string& Data() const { return FData; }
    bool IsGIF() const;
    // Frames of a GIF: each graphic control block directly followed by an image descriptor,
    // counted only when both lie whole inside the data; -1 for other pictures.
    int FrameCount();
    // Delay of frame i (1-based) in hundredths of a second; -1 when there is no such frame.
    int GetFrameTime(int i);
    int Frame() const { return FFrame; }
    // Decodes the chosen frame again and fires OnFrameChange (when there are bytes).
    void SetFrame(int Value);
    void FrameNext();
    void FramePrev();
    // One animation tick of 10 ms; true when the frame changed.
    bool Step();

    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    int FrameXSize() const { return FFrameXSize; }
    int FrameYSize() const { return FFrameYSize; }

    bool Stretch = false;
    String ID;
    String URL;
    bool IsDB = false;
    bool Asynch = true;
    bool Busy() const { return FThreadBusy; }
    plat::TNotifyEvent OnFrameChange;
    plat::TNotifyEvent OnDownLoadProgress, OnDownLoadCancel, OnDownLoadComplete, OnDownLoadError;

private:
    void Reset();
    void Decode();

    std::string FData;
    bool FIsEmpty = true;
    std::unique_ptr<plat::TBitmap> FPicture;
    bool FThreadBusy = false;
    int FFrame = 1;
    int FFrameCount = -1;
    std::uint16_t FFrameXPos = 0, FFrameYPos = 0, FFrameXSize = 0, FFrameYSize = 0;
    bool FFrameTransp = false;
    std::uint16_t FFrameDisposal = 0;
    std::uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
};

// Pictures loaded by address; owns them.
class THTMLPictureCache {
public:
    THTMLPictureCache() = default;
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;
    THTMLPicture* AddPicture();
    // The first picture whose ID equals ID exactly, else nullptr.
    THTMLPicture* FindPicture(StringView ID) const;
    void ClearPictures() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    THTMLPicture* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    // Steps every picture; true when any frame changed.
    bool Animate();

private:
    std::vector<std::unique_ptr<THTMLPicture>> FItems;
};

class TPictureItem : public plat::TCollectionItem {
public:
    explicit TPictureItem(plat::TCollection* Collection);
    ~TPictureItem() override;
    String ClassName() const override { return u"TPictureItem"; }
    void Assign(const plat::TPersistent* Source) override;

    THTMLPicture* Picture() const { return FPicture.get(); }
    // Copies the given picture.
    void SetPicture(const THTMLPicture* Value);
    int Tag = 0;
    String Name;

private:
    std::unique_ptr<THTMLPicture> FPicture;
};

class TPictureCollection : public plat::TCollection {
public:
    explicit TPictureCollection(plat::TComponent* AOwner)
        : plat::TCollection(plat::TCollection::ItemClass<TPictureItem>()), FOwner(AOwner) {}
    String ClassName() const override { return u"TPictureCollection"; }
    TPictureItem* Add() { return static_cast<TPictureItem*>(plat::TCollection::Add()); }
    TPictureItem* Insert(int Index) { return static_cast<TPictureItem*>(plat::TCollection::Insert(Index)); }
    TPictureItem* Items(int Index) const { return static_cast<TPictureItem*>(plat::TCollection::Items(Index)); }
    plat::TComponent* Owner() const { return FOwner; }
    bool Animate();

private:
    plat::TComponent* FOwner;
};

class TPictureContainer : public plat::TComponent {
public:
    explicit TPictureContainer(plat::TComponent* AOwner);
    ~TPictureContainer() override;
    String ClassName() const override { return u"TPictureContainer"; }
    TPictureCollection* Items() const { return FItems.get(); }
    // The picture of the first item whose name equals s in any letter case, else nullptr.
    virtual THTMLPicture* FindPicture(StringView s) const;

private:
    std::unique_ptr<TPictureCollection> FItems;
};

} // namespace grid
