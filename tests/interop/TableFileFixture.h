#pragma once
#include <cstring>
#include <gtest/gtest.h>

#include "../world/ScratchFolder.h"
#include "interop/TableFiles.h"

// A table exported as .fll and .fis in a scratch folder, to be edited into files a
// reader must refuse, and a table that a refusal must leave as it was.
class TableFileFixture : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            m_exported.angles[k] = 10.0 * k - 35.5;
            m_exported.speeds[k] = 0.25 * k + 0.5;
        }
        TableRefusal refusal;
        ASSERT_TRUE(ExportTableFile(PathOf("good.fll"), m_exported, refusal)) << refusal.english;
        ASSERT_TRUE(ExportTableFile(PathOf("good.fis"), m_exported, refusal)) << refusal.english;
        m_fll = Read(PathOf("good.fll"));
        m_fis = Read(PathOf("good.fis"));
        for (int k = 0; k < InferenceTable::kSituations; ++k) m_kept.angles[k] = m_kept.speeds[k] = 99.0 + k;
    }

    // The exported .fll with its first `from` replaced by `to`.
    std::string Edited(const std::string& from, const std::string& to) const
    {
        std::string text = m_fll;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    }

    // Loads the text as `name`, expects a refusal that leaves the table alone and names
    // the file, and returns it.
    TableRefusal ExpectRefused(const std::string& name, const std::string& text)
    {
        InferenceTable table = m_kept;
        TableRefusal refusal;
        EXPECT_FALSE(LoadTableFile(Write(name, text), table, refusal)) << name;
        EXPECT_EQ(std::memcmp(&table, &m_kept, sizeof table), 0) << name;
        EXPECT_NE(refusal.french.find(name), std::string::npos) << refusal.french;
        EXPECT_NE(refusal.english.find(name), std::string::npos) << refusal.english;
        return refusal;
    }

    InferenceTable m_exported, m_kept;
    std::string m_fll, m_fis;
};
