// The result tree: duplicate reports turned into groups, the group labels, the lookup of a
// group by its representative, removing entries, the selection and the reset.
#include "res/ResourceIds.h"
#include "search/SearchMessages.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/SearchEvent.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTreeWidget>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

struct LabelCase {
    int nCount;
    std::uint64_t nSize;
    const char* pszLabel;
};
constexpr LabelCase kLabelCases[] = {
    {1, 0, "1 duplicates of size 0.000 KB"},
    {1, 1, "1 duplicates of size 0.001 KB"},
    {2, 1024, "2 duplicates of size 1.000 KB"},
    {1, 1536, "1 duplicates of size 1.500 KB"},
    {7, 4294967295ull, "7 duplicates of size 4194303.999 KB"},
    // 4 GiB + 1024 bytes: all 64 bits of the size count.
    {1, 4294968320ull, "1 duplicates of size 4194305.000 KB"},
};

TEST(GroupLabel, FormatsCountAndSizeInKilobytes) {
    for (const LabelCase& labelCase : kLabelCases)
        EXPECT_EQ(FormatGroupLabel(labelCase.nCount, labelCase.nSize), labelCase.pszLabel);
}

class ResultTreeTest : public CUiTest {
protected:
    void SetUp() override {
        CUiTest::SetUp();
        m_pDlg = std::make_unique<CFinderDlg>();
        m_pTree = GetDlgItemAs<QTreeWidget>(*m_pDlg, IDC_RESULTS);
    }

    void Report(const std::string& strRep, const std::string& strDup) {
        SendSearchMessage(*m_pDlg, CSearchMessage(UWM_DUPLICATE_FOUND, strRep, strDup));
    }
    void Reset() { SendSearchMessage(*m_pDlg, CSearchMessage(UWM_RESET_RESULTS)); }
    std::string Status() const { return WidgetText(*m_pDlg, IDC_STATUS); }
    std::vector<std::string> Entries(const QTreeWidgetItem* pGroup) const {
        std::vector<std::string> entries;
        for (int i = 0; i < pGroup->childCount(); ++i) {
            EXPECT_EQ(pGroup->child(i)->data(0, Qt::UserRole).toInt(), 0);
            entries.push_back(pGroup->child(i)->text(0).toStdString());
        }
        return entries;
    }
    bool ActionsEnabled() const {
        const bool bDelete = GetDlgItem(*m_pDlg, IDC_DELETE)->isEnabled();
        EXPECT_EQ(GetDlgItem(*m_pDlg, IDC_COPY)->isEnabled(), bDelete);
        EXPECT_EQ(GetDlgItem(*m_pDlg, IDC_MOVE)->isEnabled(), bDelete);
        return bDelete;
    }

    CTempDir m_dir;
    std::unique_ptr<CFinderDlg> m_pDlg;
    QTreeWidget* m_pTree = nullptr;
};

TEST_F(ResultTreeTest, FirstAndLaterReportsBuildOneGroup) {
    const std::string strRep = m_dir.WriteFile("rep.bin", std::string(1536, 'r'));
    Report(strRep, m_dir / "d1.bin");
    ASSERT_EQ(m_pTree->topLevelItemCount(), 1);
    QTreeWidgetItem* pGroup = m_pTree->topLevelItem(0);
    EXPECT_EQ(pGroup->text(0).toStdString(), "1 duplicates of size 1.500 KB");
    EXPECT_EQ(pGroup->data(0, Qt::UserRole).toInt(), 1);
    EXPECT_EQ(Entries(pGroup), (std::vector<std::string>{strRep, m_dir / "d1.bin"}));
    EXPECT_EQ(Status(), "Duplicate files: 1. Searching more duplicate files....");

    // The size was read once: growing the file changes no label.
    m_dir.WriteFile("rep.bin", std::string(4096, 'r'));
    Report(strRep, m_dir / "d2.bin");
    EXPECT_EQ(m_pTree->topLevelItemCount(), 1);
    EXPECT_EQ(pGroup->text(0).toStdString(), "2 duplicates of size 1.500 KB");
    EXPECT_EQ(Entries(pGroup),
              (std::vector<std::string>{strRep, m_dir / "d1.bin", m_dir / "d2.bin"}));
    EXPECT_EQ(m_pDlg->Groups()[0].nCount, 2);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 2);
    EXPECT_EQ(Status(), "Duplicate files: 2. Searching more duplicate files....");
}

TEST_F(ResultTreeTest, RepresentativeOfFourGibibytesKeepsItsFullSize) {
    const std::string strRep = m_dir / "big.bin";
    const int fd = ::open(strRep.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    // Sparse: no disk space is used.
    const bool bSized = ::ftruncate(fd, 4294968320LL) == 0;
    ::close(fd);
    if (!bSized)
        GTEST_SKIP() << "the temporary file system cannot hold a 4 GiB file";
    Report(strRep, m_dir / "copy.bin");
    ASSERT_EQ(m_pTree->topLevelItemCount(), 1);
    EXPECT_EQ(m_pTree->topLevelItem(0)->text(0).toStdString(),
              "1 duplicates of size 4194305.000 KB");
}

TEST_F(ResultTreeTest, VanishedRepresentativeDropsOnlyItsFirstReport) {
    const std::string strRep = m_dir.WriteFile("rep.txt", "r");
    Report(m_dir / "gone.txt", m_dir / "other.txt");
    EXPECT_EQ(m_pTree->topLevelItemCount(), 0);
    EXPECT_TRUE(m_pDlg->Groups().empty());
    EXPECT_EQ(m_pDlg->DuplicateCount(), 0);
    EXPECT_EQ(Status(), "");

    Report(strRep, m_dir / "d1.txt");
    ASSERT_EQ(m_pTree->topLevelItemCount(), 1);
    // Once the group exists, the disk is not asked again.
    ::unlink(strRep.c_str());
    Report(strRep, m_dir / "d2.txt");
    EXPECT_EQ(m_pTree->topLevelItemCount(), 1);
    EXPECT_EQ(m_pTree->topLevelItem(0)->childCount(), 3);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 2);
}

TEST_F(ResultTreeTest, FindGroupMatchesTheRepresentativeBytesOnly) {
    const std::string strUpper = m_dir.WriteFile("Name.txt", "u");
    const std::string strLower = m_dir.WriteFile("name.txt", "l");
    // A name that is not valid UTF-8 still matches itself only.
    const std::string strOdd = m_dir.WriteFile("caf\xe9.txt", "o");
    Report(strUpper, m_dir / "d1.txt");
    EXPECT_NE(m_pDlg->FindGroup(strUpper), nullptr);
    EXPECT_EQ(m_pDlg->FindGroup(strLower), nullptr);
    // A duplicate's path is never looked at.
    EXPECT_EQ(m_pDlg->FindGroup(m_dir / "d1.txt"), nullptr);

    Report(strLower, m_dir / "d2.txt");
    Report(strOdd, m_dir / "d3.txt");
    ASSERT_EQ(m_pTree->topLevelItemCount(), 3);
    EXPECT_EQ(m_pDlg->FindGroup(strLower), m_pTree->topLevelItem(1));
    EXPECT_EQ(m_pDlg->FindGroup(strOdd), m_pTree->topLevelItem(2));
    EXPECT_EQ(m_pDlg->FindGroup(m_dir / "caf\xef\xbf\xbd.txt"), nullptr);
}

TEST_F(ResultTreeTest, RemovingEntriesKeepsGroupsRecordsAndCounterConsistent) {
    const std::string strA = m_dir.WriteFile("a.txt", "a");
    const std::string strB = m_dir.WriteFile("b.txt", "bb");
    Report(strA, m_dir / "a1.txt");
    Report(strB, m_dir / "b1.txt");
    Report(strB, m_dir / "b2.txt");
    ASSERT_EQ(m_pDlg->DuplicateCount(), 3);
    const std::string strStatus = Status();

    // The only duplicate of group A: the group goes with its remaining entry, its record stays.
    m_pDlg->RemoveFileEntry(m_pTree->topLevelItem(0)->child(1));
    ASSERT_EQ(m_pTree->topLevelItemCount(), 1);
    EXPECT_EQ(m_pDlg->Groups().size(), 2u);
    EXPECT_EQ(m_pDlg->Groups()[0].nCount, 0);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 2);
    EXPECT_EQ(Status(), strStatus);

    // Group B keeps its index; its label drops by one.
    QTreeWidgetItem* pB = m_pTree->topLevelItem(0);
    EXPECT_EQ(pB->data(0, Qt::UserRole).toInt(), 2);
    m_pDlg->RemoveFileEntry(pB->child(2));
    EXPECT_EQ(pB->text(0).toStdString(), "1 duplicates of size 0.002 KB");
    EXPECT_EQ(Entries(pB), (std::vector<std::string>{strB, m_dir / "b1.txt"}));

    // A group made afterwards gets the next index, and reports still reach the right records.
    Report(strA, m_dir / "a2.txt");
    ASSERT_EQ(m_pTree->topLevelItemCount(), 2);
    EXPECT_EQ(m_pTree->topLevelItem(1)->data(0, Qt::UserRole).toInt(), 3);
    Report(strB, m_dir / "b3.txt");
    EXPECT_EQ(m_pDlg->Groups()[1].nCount, 2);
    EXPECT_EQ(m_pDlg->Groups()[2].nCount, 1);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 3);

    // Without its representative entry, a group is no longer found by it.
    m_pDlg->RemoveFileEntry(pB->child(0));
    EXPECT_EQ(Entries(pB), (std::vector<std::string>{m_dir / "b1.txt", m_dir / "b3.txt"}));
    EXPECT_EQ(pB->text(0).toStdString(), "1 duplicates of size 0.002 KB");
    EXPECT_EQ(m_pDlg->FindGroup(strB), nullptr);
    // The entry that now stands first finds it.
    EXPECT_EQ(m_pDlg->FindGroup(m_dir / "b1.txt"), pB);
    Report(strB, m_dir / "b4.txt");
    EXPECT_EQ(m_pTree->topLevelItemCount(), 3);
    EXPECT_EQ(m_pDlg->Groups().size(), 4u);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 3);
}

// The group of a path as a walk over the groups finds it: the first group, in tree order, whose
// first file entry holds those bytes.
QTreeWidgetItem* WalkForGroup(QTreeWidget* pTree, const std::string& strPath) {
    for (int i = 0; i < pTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* pGroup = pTree->topLevelItem(i);
        if (pGroup->childCount() > 0 &&
            pGroup->child(0)->data(0, kPathRole).toByteArray().toStdString() == strPath)
            return pGroup;
    }
    return nullptr;
}

TEST_F(ResultTreeTest, FindGroupAgreesWithAWalkThroughReportsRemovalsAndResets) {
    std::mt19937 random(11);
    std::vector<std::string> representatives;
    for (int i = 0; i < 12; ++i)
        representatives.push_back(m_dir.WriteFile("rep" + std::to_string(i), "x"));
    int nNext = 0;
    for (int nStep = 0; nStep < 600; ++nStep) {
        const unsigned nAction = random() % 10;
        if (nAction < 6) {
            Report(representatives[random() % representatives.size()],
                   m_dir / ("dup" + std::to_string(nNext++)));
        } else if (nAction < 9 && m_pTree->topLevelItemCount() > 0) {
            // Any entry, the representative included.
            QTreeWidgetItem* pGroup =
                m_pTree->topLevelItem(static_cast<int>(random() % m_pTree->topLevelItemCount()));
            m_pDlg->RemoveFileEntry(
                pGroup->child(static_cast<int>(random() % pGroup->childCount())));
        } else if (random() % 8 == 0) {
            Reset();
        }
        // Every path that stands in the tree, and every representative, finds what a walk finds.
        std::vector<std::string> paths = representatives;
        for (int i = 0; i < m_pTree->topLevelItemCount(); ++i)
            for (int j = 0; j < m_pTree->topLevelItem(i)->childCount(); ++j)
                paths.push_back(m_pTree->topLevelItem(i)
                                    ->child(j)
                                    ->data(0, kPathRole)
                                    .toByteArray()
                                    .toStdString());
        for (const std::string& strPath : paths)
            ASSERT_EQ(m_pDlg->FindGroup(strPath), WalkForGroup(m_pTree, strPath))
                << "step " << nStep << ": " << strPath;
    }
}

TEST_F(ResultTreeTest, RemoveIgnoresItemsThatAreNotFileEntries) {
    const std::string strA = m_dir.WriteFile("a.txt", "a");
    Report(strA, m_dir / "a1.txt");
    m_pDlg->RemoveFileEntry(m_pTree->topLevelItem(0));
    m_pDlg->RemoveFileEntry(nullptr);
    EXPECT_EQ(m_pTree->topLevelItemCount(), 1);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 1);
}

TEST_F(ResultTreeTest, SelectionDecidesTheFileActions) {
    const std::string strA = m_dir.WriteFile("a.txt", "a");
    Report(strA, m_dir / "a1.txt");
    QTreeWidgetItem* pGroup = m_pTree->topLevelItem(0);
    m_pTree->setCurrentItem(pGroup->child(1));
    EXPECT_TRUE(ActionsEnabled());
    m_pTree->setCurrentItem(pGroup);
    EXPECT_FALSE(ActionsEnabled());
    m_pTree->setCurrentItem(pGroup->child(0));
    EXPECT_TRUE(ActionsEnabled());
    // No selection at all: the buttons keep their state.
    m_pTree->clearSelection();
    EXPECT_TRUE(ActionsEnabled());
}

TEST_F(ResultTreeTest, ResetEmptiesTheTreeAndKeepsTheStatusLine) {
    const std::string strA = m_dir.WriteFile("a.txt", "a");
    Report(strA, m_dir / "a1.txt");
    const std::string strStatus = Status();
    Reset();
    EXPECT_EQ(m_pTree->topLevelItemCount(), 0);
    EXPECT_TRUE(m_pDlg->Groups().empty());
    EXPECT_EQ(m_pDlg->DuplicateCount(), 0);
    EXPECT_EQ(Status(), strStatus);
    // Indices start again at 1.
    Report(strA, m_dir / "a2.txt");
    EXPECT_EQ(m_pTree->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 1);
}

} // namespace
