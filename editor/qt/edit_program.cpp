#include "editor/qt/edit_program.h"

#include "editor/material_dialogs.h"

namespace tavir {

// The windows draw supports and loads as the model's built-in symbols: no image
// lists are given.
TEditorProgram::TEditorProgram(ModelDialogs* modelDialogs, EditorDialogs* editorDialogs) {
  rsForm_ = std::make_unique<TRSForm>(messages_);
  messages_.SetParent(rsForm_.get());
  ownModelDialogs_ = std::make_unique<EditorModelDialogs>(messages_, rsForm_.get());
  ownEditorDialogs_ = std::make_unique<TEditorOwnDialogs>(messages_, rsForm_.get());
  ModelDialogs& dialogs = modelDialogs != nullptr ? *modelDialogs : *ownModelDialogs_;
  // The material chooser of the model: the default layer stack holds materials too,
  // and so does the copy of the stack in an open element dialog.
  holders_.Stacks.push_back(&rsForm_->Supervisor().DefLayers);
  ownModelDialogs_->SetMaterialHolders(&holders_);
  chooser_ = std::make_unique<MaterialChooser>(
      messages_, ListContext(rsForm_->Project().Materials(), holders_), &dialogs, rsForm_.get());
  rsForm_->Project().SetUi(chooser_.get());
  dmMain_ = std::make_unique<TDM_Main>(*rsForm_, dialogs, editorDialogs != nullptr ? *editorDialogs : *ownEditorDialogs_,
                                       messages_);
  dmMenu_ = std::make_unique<TDM_Menu>(*dmMain_);
  rsForm_->BuildStrip(*dmMain_, *dmMenu_);
}

TEditorProgram::~TEditorProgram() {
  dmMenu_.reset();
  dmMain_.reset();
  rsForm_->Project().SetUi(nullptr);
  chooser_.reset();
  rsForm_.reset();
}

void TEditorProgram::Show() {
  rsForm_->ShowAsStrip();
  dmMain_->Run("acNoTask");
}

}  // namespace tavir
