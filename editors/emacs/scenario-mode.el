;;; scenario-mode.el --- Scenario documents: line and train  -*- lexical-binding: t; -*-

;;; Commentary:

;; The line document NAME_linea.txt and the train document NAME_TRAIN-.txt of a
;; scenario open in `scenario-mode': section headers and keywords stand out, the
;; documents are read and written as Windows-1252 (their encoding), and eglot knows to
;; start "scenario lsp" for them.  Installed by the scenario package into
;; share/emacs/site-lisp; load it with (require 'scenario-mode).  docs/editors.md (in
;; share/doc/scenario/) describes the whole set-up.

;;; Code:

(defgroup scenario nil
  "Scenario documents of a train-driving simulator."
  :group 'languages)

(defcustom scenario-lsp-command '("scenario" "lsp")
  "The language server eglot starts for scenario documents, with its arguments.
Add \"--input-encoding\" \"utf-8\" for documents written in UTF-8."
  :type '(repeat string))

(defconst scenario-file-regexp
  "\\(?:_[lL][iI][nN][eE][aA]\\|-\\)\\.[tT][xX][tT]\\'"
  "File names of scenario documents: NAME_linea.txt and NAME_TRAIN-.txt, in any case.")

(defvar scenario-font-lock-keywords
  '(("^[ \t]*\\(\\[[^]\n]*\\]\\)" 1 font-lock-function-name-face)
    ("^[ \t]*\\([^-,[ \t\n][^,\n]*\\)," 1 font-lock-keyword-face))
  "Section headers and the keyword field that starts a row.")

;;;###autoload
(define-derived-mode scenario-mode prog-mode "Scenario"
  "Major mode for the line and train documents of a scenario."
  (setq-local font-lock-defaults '(scenario-font-lock-keywords))
  (setq-local indent-tabs-mode nil))

;;;###autoload
(add-to-list 'auto-mode-alist (cons scenario-file-regexp 'scenario-mode))
;;;###autoload
(add-to-list 'file-coding-system-alist (cons scenario-file-regexp 'windows-1252))

(defun scenario--lsp-contact (&optional _interactive)
  "The command line of the language server, for eglot."
  scenario-lsp-command)

(with-eval-after-load 'eglot
  (add-to-list 'eglot-server-programs '(scenario-mode . scenario--lsp-contact)))

(provide 'scenario-mode)

;;; scenario-mode.el ends here
