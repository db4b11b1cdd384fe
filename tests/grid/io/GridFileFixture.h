#pragma once
// What the grid file tests share: a form holding the grids, a throw-away folder removed with
// its contents, files written into it and read back whole, and the invariant check.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "TestSupport.h"
#include "plat/Files.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

namespace grid::testing {

inline std::string U8(const plat::String& s) { return plat::StringToUtf8(s); }

class GridFileTest : public plat::testing::UiTest {
protected:
    void SetUp() override {
        plat::testing::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
    }
    void TearDown() override {
        form.reset();
        plat::testing::UiTest::TearDown();
    }
    // A grid on the form with the grid's own start values.
    TExtStringGrid* NewGrid() {
        auto* g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        return g;
    }
    plat::String File(const char* name) const { return dir + u"/" + plat::Utf8ToString(name); }
    plat::String Write(const char* name, const std::string& bytes) {
        const plat::String f = File(name);
        EXPECT_TRUE(plat::WriteFileAtomic(f, bytes));
        return f;
    }
    std::string Read(const plat::String& f) {
        std::string b;
        EXPECT_TRUE(plat::ReadFileBytes(f, b));
        return b;
    }
    void Check(TExtStringGrid& g) {
        const plat::String err = CheckGridInvariants(g);
        EXPECT_TRUE(err.empty()) << U8(err);
    }

    testsupport::TempDir tmp;
    const plat::String dir = tmp.path();
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

} // namespace grid::testing
