// The shape window's tree and point list kept in step with the document from what each
// change says: the operations never touch them. Items belong to positions (the item of
// patch i reads "patch i"), so an edit that moves patches about leaves each position its
// item, drops those of positions that went and makes those of new ones.
#pragma once

#include "editor/document.h"
#include "model/model-tree.h"

class OutlineView : public DocumentView {
  public:
    explicit OutlineView(ModelTree& tree) : tree_(tree) {}

    void documentWillChange(const Document& document, const ModelChange& step, bool undo) override;
    void documentChanged(const Document& document, const DocumentChange& change) override;

  protected:
    // Around a change of the items: quiet when the whole tree is made anew or many items
    // come or go (a window turns its drawing off for that: a tree control may measure
    // every item after each one otherwise).
    virtual void beginShowing(bool /*quiet*/) {}
    virtual void endShowing(const Document&, const DocumentChange&) {}
    // Within endShowing: whether the tree was made anew.
    bool remade() const { return remade_; }
    // Whether a step remakes the tree or adds or drops more than one item.
    static bool changesManyItems(const ModelChange& step);

  private:
    ModelTree& tree_;
    bool showing_ = false; // beginShowing called, endShowing not yet
    bool remade_ = false;
};
