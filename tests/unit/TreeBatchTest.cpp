// A whole level inserted in one batch lands exactly where one-by-one sorted insertion puts
// it, in the tree held in memory and in the real tree widget.
#include <gtest/gtest.h>

#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/ModelTreeCtrl.h"
#include "framework/qt/QtTreeCtrl.h"

namespace {

struct BatchCase {
    const char* name;
    std::vector<std::string> before;  // inserted one by one first
    std::vector<std::string> level;   // then as one level
};

const BatchCase kCases[] = {
    {"EmptyParent", {}, {"temp2", "Temp", "b", "A", "temp", "B", "b", "a"}},
    {"MergesWithSiblings", {"m", "B", "x"}, {"a", "b", "B", "M", "m", "y", "z", "c"}},
    {"EqualTextsAfterTheOldOnes", {"same", "Same"}, {"same", "Same", "same"}},
    {"AllBeforeAndAllAfter", {"k", "l"}, {"z", "a", "y", "b"}},
    {"BytesAndPunctuation", {"_x"}, {"\xff", "Z", "\xc3\xa9t\xc3\xa9", "[", "_", "0", "a b", "\x01"}},
    {"NothingToInsert", {"only"}, {}},
};

// The base class's loop, which a tree without a batch of its own uses.
class LoopingTree : public ModelTreeCtrl {
public:
    void InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts, std::vector<HTREEITEM>* pInserted) override {
        CTreeCtrl::InsertSortedItems(hParent, std::move(texts), pInserted);
    }
};

enum class Kind { Model, Looping, Qt };

class TreeBatch : public testing::TestWithParam<BatchCase> {
protected:
    std::unique_ptr<CTreeCtrl> Tree(Kind kind) {
        if (kind == Kind::Model) return std::make_unique<ModelTreeCtrl>();
        if (kind == Kind::Looping) return std::make_unique<LoopingTree>();
        m_widget = std::make_unique<QTreeWidget>();
        return std::make_unique<QtTreeCtrl>(m_widget.get());
    }
    std::unique_ptr<QTreeWidget> m_widget;
};

// The texts of a level, the new items marked with a "+": among equal texts, the items that
// were there keep their place before the new ones.
std::vector<std::string> Level(const CTreeCtrl& tree, HTREEITEM parent, const std::vector<HTREEITEM>& added) {
    std::vector<std::string> v;
    for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h))
        v.push_back(tree.GetItemText(h).str() + (std::find(added.begin(), added.end(), h) != added.end() ? "+" : ""));
    return v;
}

TEST_P(TreeBatch, SameOrderAsOneByOne) {
    const BatchCase& c = GetParam();
    for (Kind kind : {Kind::Model, Kind::Looping, Kind::Qt}) {
        for (bool topLevel : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "tree kind " << static_cast<int>(kind) << (topLevel ? ", top level" : ""));
            std::unique_ptr<CTreeCtrl> one = Tree(kind);
            auto keepOne = std::move(m_widget);
            std::unique_ptr<CTreeCtrl> batch = Tree(kind);
            HTREEITEM p1 = topLevel ? nullptr : one->InsertRootItem("C:\\");
            HTREEITEM p2 = topLevel ? nullptr : batch->InsertRootItem("C:\\");
            for (const std::string& t : c.before) {
                one->InsertItem(t.c_str(), p1 ? p1 : TVI_ROOT, TVI_SORT);
                batch->InsertItem(t.c_str(), p2 ? p2 : TVI_ROOT, TVI_SORT);
            }
            std::vector<CString> texts;
            std::vector<HTREEITEM> addedOne;
            for (const std::string& t : c.level) {
                addedOne.push_back(one->InsertItem(t.c_str(), p1 ? p1 : TVI_ROOT, TVI_SORT));
                texts.emplace_back(t.c_str());
            }
            std::vector<HTREEITEM> inserted;
            batch->InsertSortedItems(p2 ? p2 : TVI_ROOT, texts, &inserted);
            EXPECT_EQ(Level(*batch, p2, inserted), Level(*one, p1, addedOne));

            // The handles reported are the new items, in the order the tree shows them.
            std::vector<HTREEITEM> inOrder;
            for (HTREEITEM h = batch->GetChildItem(p2); h; h = batch->GetNextSiblingItem(h))
                if (std::find(inserted.begin(), inserted.end(), h) != inserted.end()) inOrder.push_back(h);
            EXPECT_EQ(inOrder, inserted);
            for (HTREEITEM h : inserted) EXPECT_EQ(batch->GetParentItem(h), p2);

            // A later one-by-one insertion still finds its place among the batch.
            addedOne.push_back(one->InsertItem("m2", p1 ? p1 : TVI_ROOT, TVI_SORT));
            inserted.push_back(batch->InsertItem("m2", p2 ? p2 : TVI_ROOT, TVI_SORT));
            EXPECT_EQ(Level(*batch, p2, inserted), Level(*one, p1, addedOne));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeBatch, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

}  // namespace
