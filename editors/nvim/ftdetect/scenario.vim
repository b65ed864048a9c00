" Scenario documents: the line document NAME_linea.txt and the train document
" NAME_TRAIN-.txt, their endings compared case-free as the compiler does. Installed by
" the scenario package where Neovim looks for every user (share/nvim/site/ftdetect);
" docs/editors.md starts the language server "scenario lsp" for the filetype.
autocmd BufNewFile,BufRead *_[lL][iI][nN][eE][aA].[tT][xX][tT],*-.[tT][xX][tT] set filetype=scenario

" The documents are Windows-1252 text, as the simulator reads them: read them so, and
" put back the user's own choice of encodings once a document is read.
autocmd BufReadPre *_[lL][iI][nN][eE][aA].[tT][xX][tT],*-.[tT][xX][tT]
      \ let g:scenario_fileencodings = &fileencodings | set fileencodings=cp1252
autocmd BufReadPost,FileReadPost *_[lL][iI][nN][eE][aA].[tT][xX][tT],*-.[tT][xX][tT]
      \ if exists('g:scenario_fileencodings')
      \ | let &fileencodings = g:scenario_fileencodings | unlet g:scenario_fileencodings
      \ | endif
