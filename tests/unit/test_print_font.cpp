// The generated suit-symbol font: names, embedding and every character the
// printouts draw with it.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>

#include <string>

namespace {

class BridgeFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FT_Init_FreeType(&library), 0);
        ASSERT_EQ(FT_New_Face(library, KELMO_BUILD_DIR "/resources/fonts/bridge.ttf", 0, &face), 0)
            << "bridge.ttf not built";
    }
    void TearDown() override {
        if (face) FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    std::string Name(int id) {
        FT_UInt count = FT_Get_Sfnt_Name_Count(face);
        for (FT_UInt i = 0; i < count; i++) {
            FT_SfntName name;
            if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != id) continue;
            std::string text;
            // Windows names are UTF-16BE; keep the low bytes of ASCII.
            bool wide = name.platform_id == TT_PLATFORM_MICROSOFT;
            for (FT_UInt k = wide ? 1 : 0; k < name.string_len; k += wide ? 2 : 1) text += (char)name.string[k];
            return text;
        }
        return "";
    }
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

TEST_F(BridgeFontTest, IsFamilyBridgeEmbeddableAndKeepsTheSourceLicence) {
    EXPECT_STREQ(face->family_name, "Bridge");
    EXPECT_STREQ(face->style_name, "Regular");
    EXPECT_STREQ(FT_Get_Postscript_Name(face), "Bridge-Regular");
    EXPECT_EQ(FT_Get_FSType_Flags(face), 0);
    for (int id : {1, 4, 6})
        for (const char* source : {"Bitstream", "Vera"}) EXPECT_EQ(Name(id).find(source), std::string::npos) << id;
    EXPECT_NE(Name(0).find("Bitstream"), std::string::npos);   // copyright kept
    EXPECT_NE(Name(13).find("Bitstream Vera"), std::string::npos);   // licence kept
}

TEST_F(BridgeFontTest, HoldsEveryCharacterThePrintoutsDrawWithInk) {
    ASSERT_EQ(FT_Set_Char_Size(face, 0, 64 * 64, 72, 72), 0);
    for (char ch : std::string("abcdnz^`AKQJT98765432NSEW1234567_-")) {
        FT_UInt index = FT_Get_Char_Index(face, (unsigned char)ch);
        ASSERT_NE(index, 0u) << ch;
        ASSERT_EQ(FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING), 0) << ch;
        EXPECT_GT(face->glyph->outline.n_contours, 0) << ch;
        EXPECT_GT(face->glyph->advance.x, 0) << ch;
        // The ranks are narrow enough for thirteen cards in a handout cell:
        // at most 0.6 em each.
        if (std::string("AKQJT98765432").find(ch) != std::string::npos) {
            EXPECT_LE(face->glyph->advance.x / 64.0, 0.6 * 64) << ch;
        }
    }
    // The arrow stands above a third of the em, clear of the compass cross.
    FT_Load_Char(face, '^', FT_LOAD_NO_HINTING);
    FT_BBox box;
    FT_Outline_Get_CBox(&face->glyph->outline, &box);
    EXPECT_GT(box.yMin / 64.0, 64 / 3.0);
}

}  // namespace
